# The desktop's side: screensaver and media controls, on a session bus of the test's own.
add_qt_test(tst_session privatebus.h)
target_link_libraries(tst_session PRIVATE ovelo_session ovelo_player PkgConfig::XSS)
add_test(NAME session COMMAND tst_session)
set_tests_properties(session PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
# Again under an X server, where the inhibitor falls back to its screensaver extension.
add_test(NAME session_xvfb COMMAND xvfb-run -a -s "-screen 0 640x480x24" $<TARGET_FILE:tst_session>)
set_tests_properties(session_xvfb PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=xcb")
