add_qt_test(tst_layout)
target_link_libraries(tst_layout PRIVATE ovelo_layout ovelo_icons)
add_test(NAME layout COMMAND tst_layout)
set_tests_properties(layout PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
