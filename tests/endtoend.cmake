# The real program as a separate process under Xvfb, driven by xdotool.
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb)
add_qt_test(tst_endtoend traystandin.h traystandin.cpp privatebus.h)
target_link_libraries(tst_endtoend PRIVATE ovelo_settings PkgConfig::XCB)
add_dependencies(tst_endtoend ovelo)
add_test(NAME endtoend_xvfb
  COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" $<TARGET_FILE:tst_endtoend>)
set_tests_properties(endtoend_xvfb PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=xcb" TIMEOUT 300)

