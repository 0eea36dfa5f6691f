# The main window on a screen of normal density and on one of double density (192 dpi, and Qt
# scaling by 2), each under an X server of its own.
add_qt_test(tst_hidpi)
target_link_libraries(tst_hidpi PRIVATE ovelo_shell)
add_test(NAME hidpi_1x_xvfb
  COMMAND xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" $<TARGET_FILE:tst_hidpi>)
add_test(NAME hidpi_2x_xvfb
  COMMAND xvfb-run -a -s "-screen 0 2560x2048x24 -dpi 192" $<TARGET_FILE:tst_hidpi>)
set_tests_properties(hidpi_1x_xvfb PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=xcb;OVELO_VIDEO=null")
set_tests_properties(hidpi_2x_xvfb PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=xcb;OVELO_VIDEO=null;QT_SCALE_FACTOR=2")
