# The real program quit in every way while it waits for a service, a download or a dialog, under
# an X server of its own, with the servers inside the test. The menu items are chosen by the
# library the updater's program test preloads.
add_qt_test(tst_quitting webserver.h webserver.cpp privatebus.h testfiles.h)
target_link_libraries(tst_quitting PRIVATE ovelo_settings PkgConfig::XCB)
target_compile_definitions(tst_quitting PRIVATE MENU_USER_LIBRARY="$<TARGET_FILE:menu_user>")
add_dependencies(tst_quitting menu_user ovelo)
add_test(NAME quitting_xvfb
  COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" $<TARGET_FILE:tst_quitting>)
set_tests_properties(quitting_xvfb PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=xcb" TIMEOUT 600)
