# The program as a Wayland client of a headless compositor of the test's own (weston-run.sh):
# the real program on the sample, and the full-screen window and the dialogs in process.
set(WESTON_RUN ${CMAKE_CURRENT_SOURCE_DIR}/weston-run.sh)
add_test(NAME endtoend_wayland COMMAND ${WESTON_RUN} $<TARGET_FILE:tst_endtoend> playsOnWayland)
add_test(NAME fullscreen_wayland COMMAND ${WESTON_RUN} $<TARGET_FILE:tst_fullscreen>)
set_tests_properties(fullscreen_wayland PROPERTIES ENVIRONMENT "OVELO_VIDEO=sw")
add_test(NAME windows_wayland COMMAND ${WESTON_RUN} $<TARGET_FILE:tst_windows>)
add_test(NAME settingsdialog_wayland COMMAND ${WESTON_RUN} $<TARGET_FILE:tst_settingsdialog>)
set_tests_properties(endtoend_wayland fullscreen_wayland windows_wayland settingsdialog_wayland
  PROPERTIES TIMEOUT 120)
