# The updater against an update server inside the test.
add_qt_test(tst_updater httpstub.h httpstub.cpp)
target_link_libraries(tst_updater PRIVATE ovelo_windows ovelo_player)
add_test(NAME updater COMMAND tst_updater)
set_tests_properties(updater PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# The same in the real program, run as its own process. A small library preloaded into it
# chooses the menu item as a user would.
add_library(updater_user SHARED updateruser.cpp)
target_link_libraries(updater_user PRIVATE Qt6::Widgets)
add_qt_test(tst_updaterprogram httpstub.h httpstub.cpp)
target_compile_definitions(tst_updaterprogram PRIVATE
  UPDATER_USER_LIBRARY="$<TARGET_FILE:updater_user>")
add_dependencies(tst_updaterprogram updater_user ovelo)
add_test(NAME updater_program COMMAND tst_updaterprogram)
set_tests_properties(updater_program PROPERTIES TIMEOUT 120)
