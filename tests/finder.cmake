# The GET shared by the finder and the updater, tried against a server in the test.
add_qt_test(tst_webfetch webserver.h webserver.cpp)
add_test(NAME webfetch COMMAND tst_webfetch)
set_tests_properties(webfetch PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# The finder's reading, decoding and extraction.
add_qt_test(tst_finder webserver.h webserver.cpp)
target_link_libraries(tst_finder PRIVATE ovelo_finder)
add_test(NAME finder COMMAND tst_finder)
set_tests_properties(finder PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# The finder window's flow against a service inside the test.
add_qt_test(tst_finderwindow webserver.h webserver.cpp programfixture.h)
target_link_libraries(tst_finderwindow PRIVATE ovelo_shell)
add_test(NAME finderwindow COMMAND tst_finderwindow)
set_tests_properties(finderwindow PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
