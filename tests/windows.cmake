add_qt_test(tst_windows programfixture.h)
target_link_libraries(tst_windows PRIVATE ovelo_shell)
add_test(NAME windows COMMAND tst_windows)
set_tests_properties(windows PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

add_qt_test(tst_fullscreen)
target_link_libraries(tst_fullscreen PRIVATE ovelo_shell)
add_test(NAME fullscreen_xvfb
  COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" $<TARGET_FILE:tst_fullscreen>)
set_tests_properties(fullscreen_xvfb PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=xcb" TIMEOUT 120)

add_qt_test(tst_settingsdialog)
target_link_libraries(tst_settingsdialog PRIVATE ovelo_shell)
add_test(NAME settingsdialog COMMAND tst_settingsdialog)
set_tests_properties(settingsdialog PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
