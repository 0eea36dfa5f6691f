# Damaged media and hostile servers through the real control, with null outputs.
add_qt_test(tst_damagedmedia mediaplay.h webserver.h webserver.cpp)
add_test(NAME damaged_media COMMAND tst_damagedmedia)
set_tests_properties(damaged_media PROPERTIES
  ENVIRONMENT "OVELO_VIDEO=null;QT_QPA_PLATFORM=offscreen" TIMEOUT 300)

# The real program as a process: signals, and the run without a display.
add_qt_test(tst_programends)
add_dependencies(tst_programends ovelo)
add_test(NAME program_ends COMMAND tst_programends)
set_tests_properties(program_ends PROPERTIES TIMEOUT 180)

# Writers killed at random moments, 500 times a file kind.
add_qt_test(tst_crashsafety)
target_link_libraries(tst_crashsafety PRIVATE ovelo_settings ovelo_association)
add_test(NAME crash_safety COMMAND tst_crashsafety)
set_tests_properties(crash_safety PROPERTIES TIMEOUT 240)

add_qt_test(tst_hostileservers mediaplay.h)
add_test(NAME hostile_servers COMMAND tst_hostileservers)
set_tests_properties(hostile_servers PROPERTIES
  ENVIRONMENT "OVELO_VIDEO=null;QT_QPA_PLATFORM=offscreen" TIMEOUT 180)

# An engine whose core is stuck: the control's calls, its poll and its deletion go on at once.
add_qt_test(tst_busyengine)
add_test(NAME busy_engine COMMAND tst_busyengine)
set_tests_properties(busy_engine PROPERTIES
  ENVIRONMENT "OVELO_VIDEO=null;QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
