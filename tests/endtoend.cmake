# The real program as a separate process under Xvfb, driven by xdotool.
add_qt_test(tst_endtoend traystandin.h traystandin.cpp privatebus.h)
target_link_libraries(tst_endtoend PRIVATE ovelo_settings PkgConfig::XCB)
add_dependencies(tst_endtoend ovelo)
# On the surface the program picks by itself: without a GPU, mpv's own X11 output.
add_test(NAME endtoend_xvfb
  COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" $<TARGET_FILE:tst_endtoend>)
set_tests_properties(endtoend_xvfb PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=xcb" TIMEOUT 300)

# On the OpenGL surface, which asks mpv for a hardware decoder: where there is none (llvmpipe
# under Xvfb) mpv falls back to the CPU, and playing, pausing, seeking on resume and the
# full-screen hand-over go on as on the software surface.
add_test(NAME endtoend_opengl_xvfb
  COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" $<TARGET_FILE:tst_endtoend>
    playsTheVideoThenShowsTheIdleScreen shortcutPausesAndResumes
    closingKeepsThePlaceAndResumeReturnsThere fullScreenAndBack)
set_tests_properties(endtoend_opengl_xvfb PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=xcb;OVELO_VIDEO=gl;OVELO_HWDEC=auto-safe" TIMEOUT 300)

# On the software surface, asked for by name on X11: the same user's path.
add_test(NAME endtoend_software_xvfb
  COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" $<TARGET_FILE:tst_endtoend>
    playsTheVideoThenShowsTheIdleScreen shortcutPausesAndResumes
    closingKeepsThePlaceAndResumeReturnsThere fullScreenAndBack)
set_tests_properties(endtoend_software_xvfb PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=xcb;OVELO_VIDEO=sw" TIMEOUT 300)
