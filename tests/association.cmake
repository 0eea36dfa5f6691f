add_qt_test(tst_association)
target_link_libraries(tst_association PRIVATE ovelo_association)
add_test(NAME association COMMAND tst_association)

# Writes in the user's folders and starts the program: both under the folders of its own.
add_qt_test(tst_association_desktop)
target_link_libraries(tst_association_desktop PRIVATE ovelo_association)
add_dependencies(tst_association_desktop ovelo)
add_test(NAME association_desktop COMMAND tst_association_desktop)
set_tests_properties(association_desktop PROPERTIES TIMEOUT 120)

# Packs the build tree, unpacks the package and plays a file with what it installed.
add_test(NAME package
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/package.sh ${CMAKE_BINARY_DIR} ${MEDIA_DIR}/h264_aac.flv)
set_tests_properties(package PROPERTIES TIMEOUT 300)
