add_qt_test(tst_skins)
target_link_libraries(tst_skins PRIVATE ovelo_app)
add_test(NAME skins COMMAND tst_skins)
set_tests_properties(skins PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;OVELO_VIDEO=null")
