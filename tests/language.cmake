# The program in the desktop's language. Included after every other test is registered: those
# run under the C locale, whose texts are the program's own Chinese ones, whatever the locale of
# whoever runs CTest.
get_property(tests_before DIRECTORY PROPERTY TESTS)
foreach(test IN LISTS tests_before)
  set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT
    "LANG=C.UTF-8" "LANGUAGE=" "LC_ALL=" "LC_MESSAGES=")
endforeach()

# Every window, menu and message in the language the locale asks for, each text whole in its
# control: English and Chinese, and C, whose date is neither; at normal and at double density.
add_qt_test(tst_language mainwindowfixture.h webserver.h webserver.cpp)
target_link_libraries(tst_language PRIVATE ovelo_shell)
add_dependencies(tst_language ovelo_lrelease)
foreach(locale IN ITEMS en_US zh_CN C)
  string(TOLOWER ${locale} name)
  set(environment "LANG=${locale}.UTF-8;LANGUAGE=;LC_ALL=;LC_MESSAGES=;OVELO_VIDEO=null")
  add_test(NAME language_${name} COMMAND tst_language)
  set_tests_properties(language_${name} PROPERTIES
    ENVIRONMENT "${environment};QT_QPA_PLATFORM=offscreen")
  if(NOT locale STREQUAL "C")
    add_test(NAME language_${name}_2x_xvfb
      COMMAND xvfb-run -a -s "-screen 0 2560x2048x24 -dpi 192" $<TARGET_FILE:tst_language>)
    set_tests_properties(language_${name}_2x_xvfb PROPERTIES
      ENVIRONMENT "${environment};QT_QPA_PLATFORM=xcb;QT_SCALE_FACTOR=2")
  endif()
endforeach()

# The real program finds its translations beside its executable.
add_qt_test(tst_languageprogram testfiles.h)
add_dependencies(tst_languageprogram ovelo ovelo_lrelease)
add_test(NAME language_program_xvfb
  COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" $<TARGET_FILE:tst_languageprogram>)
set_tests_properties(language_program_xvfb PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=xcb"
  TIMEOUT 180)

# Each .ts holds a finished translation of every text of the sources, and nothing more.
add_test(NAME translations
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/translations.sh $<TARGET_FILE:Qt6::lupdate>
          ${PROJECT_SOURCE_DIR})
