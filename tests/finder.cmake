# The waited-for GET shared by the finder and the updater, tried against a server in the test.
add_qt_test(tst_blockingfetch httpstub.h httpstub.cpp)
add_test(NAME blockingfetch COMMAND tst_blockingfetch)
set_tests_properties(blockingfetch PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# The finder's reading, decoding and extraction.
add_qt_test(tst_finder httpstub.h httpstub.cpp)
target_link_libraries(tst_finder PRIVATE ovelo_finder)
add_test(NAME finder COMMAND tst_finder)
set_tests_properties(finder PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
