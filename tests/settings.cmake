add_qt_test(tst_settings)
target_link_libraries(tst_settings PRIVATE ovelo_settings)
add_test(NAME settings COMMAND tst_settings)
