# The Debian package, made by `cpack -G DEB` in the build folder (scripts/package). Its
# dependencies are computed from the binaries by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ovelo)
set(CPACK_PACKAGE_VENDOR Ovelo)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop player for Flash Video files (.flv, .f4v)")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Ovelo developers")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Plays Flash Video files from the file manager, the command line or a web address.")
include(CPack)
