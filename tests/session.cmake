# The desktop's side: screensaver and media controls, on a session bus of the test's own.
add_qt_test(tst_session privatebus.h)
target_link_libraries(tst_session PRIVATE ovelo_session ovelo_player)
add_test(NAME session COMMAND tst_session)
set_tests_properties(session PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
