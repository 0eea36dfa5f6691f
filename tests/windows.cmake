add_qt_test(tst_windows windowsprogram.h)
target_link_libraries(tst_windows PRIVATE ovelo_windows ovelo_player)
add_test(NAME windows COMMAND tst_windows)
set_tests_properties(windows PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
