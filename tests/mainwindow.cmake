add_qt_test(tst_mainwindow mainwindowfixture.h webserver.h webserver.cpp)
target_link_libraries(tst_mainwindow PRIVATE ovelo_shell)
add_test(NAME mainwindow COMMAND tst_mainwindow)
set_tests_properties(mainwindow PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;OVELO_VIDEO=null"
  TIMEOUT 120)

add_qt_test(tst_menus mainwindowfixture.h openedurls.h)
target_link_libraries(tst_menus PRIVATE ovelo_shell)
add_test(NAME menus COMMAND tst_menus)
set_tests_properties(menus PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;OVELO_VIDEO=null")
