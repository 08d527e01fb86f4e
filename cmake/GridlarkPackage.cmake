# The Debian package, built by `make package` (cpack -G DEB in the build folder).
# Name, version and the dependencies that the binaries do not show come from the
# top-level CMakeLists.txt; dpkg-shlibdeps adds the libraries the programs link,
# Qt 6 among them, with their versions.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME gridlark)
set(CPACK_PACKAGE_VENDOR Gridlark)
set(CPACK_PACKAGE_CONTACT ${GRIDLARK_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sudoku solver with a small dialog window")
set(CPACK_PACKAGE_DESCRIPTION
  "Gridlark solves Sudoku puzzles typed into its 9x9 grid or loaded from a
plain-text grid file, and shows how hard the search had to work. gridlark-cli
solves, lists and checks grids of any box size from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# misc, as for qqwing: Debian's games section is for programs in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/gridlark/gridlark)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS ${GRIDLARK_PACKAGE_DEPENDS})
include(CPack)
