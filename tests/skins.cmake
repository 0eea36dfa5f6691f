add_qt_test(tst_skins)
target_link_libraries(tst_skins PRIVATE ovelo_shell)
add_test(NAME skins COMMAND tst_skins)
set_tests_properties(skins PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;OVELO_VIDEO=null")

add_qt_test(tst_skinmanager)
target_link_libraries(tst_skinmanager PRIVATE ovelo_shell)
add_test(NAME skinmanager COMMAND tst_skinmanager)
set_tests_properties(skinmanager PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
