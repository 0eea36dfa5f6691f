# Damaged media and hostile servers through the real control, with null outputs.
add_qt_test(tst_damagedmedia mediaplay.h httpstub.h httpstub.cpp)
add_test(NAME damaged_media COMMAND tst_damagedmedia)
set_tests_properties(damaged_media PROPERTIES
  ENVIRONMENT "OVELO_VIDEO=null;QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
