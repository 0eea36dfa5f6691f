# The updater against an update server inside the test.
add_qt_test(tst_updater webserver.h webserver.cpp)
target_link_libraries(tst_updater PRIVATE ovelo_shell)
add_test(NAME updater COMMAND tst_updater)
set_tests_properties(updater PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# The same in the real program, run as its own process. A small library preloaded into it
# chooses the menu item as a user would.
add_library(menu_user SHARED menuuser.cpp)
target_link_libraries(menu_user PRIVATE Qt6::Widgets)
add_qt_test(tst_updaterprogram webserver.h webserver.cpp)
target_compile_definitions(tst_updaterprogram PRIVATE MENU_USER_LIBRARY="$<TARGET_FILE:menu_user>")
add_dependencies(tst_updaterprogram menu_user ovelo)
add_test(NAME updater_program COMMAND tst_updaterprogram)
set_tests_properties(updater_program PROPERTIES TIMEOUT 120)
