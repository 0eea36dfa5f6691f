add_qt_test(tst_mainwindow openedurls.h)
target_link_libraries(tst_mainwindow PRIVATE ovelo_app)
add_test(NAME mainwindow COMMAND tst_mainwindow)
set_tests_properties(mainwindow PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;OVELO_VIDEO=null"
  TIMEOUT 120)
