# Where the programs and their desktop data go under the install prefix: the
# desktop entry, AppStream metainfo, the grid file type, hicolor icons and the
# manual pages.
include(GNUInstallDirs)

set(GRIDLARK_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(GRIDLARK_GENERATED_PACKAGING_DIR ${PROJECT_BINARY_DIR}/packaging)

# The version goes into the metainfo and the manual pages from the project version.
configure_file(${GRIDLARK_PACKAGING_DIR}/${GRIDLARK_APP_ID}.metainfo.xml.in
               ${GRIDLARK_GENERATED_PACKAGING_DIR}/${GRIDLARK_APP_ID}.metainfo.xml @ONLY)
# Section 6, games and recreations: where Debian's other Sudoku programs put theirs.
set(GRIDLARK_MAN_PAGES gridlark.6 gridlark-cli.6)
foreach(page ${GRIDLARK_MAN_PAGES})
  configure_file(${GRIDLARK_PACKAGING_DIR}/${page}.in ${GRIDLARK_GENERATED_PACKAGING_DIR}/${page} @ONLY)
  install(FILES ${GRIDLARK_GENERATED_PACKAGING_DIR}/${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
endforeach()

if(TARGET gridlark)
  install(TARGETS gridlark)
  install(FILES ${GRIDLARK_PACKAGING_DIR}/${GRIDLARK_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${GRIDLARK_GENERATED_PACKAGING_DIR}/${GRIDLARK_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${GRIDLARK_PACKAGING_DIR}/${GRIDLARK_APP_ID}.mime.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${GRIDLARK_APP_ID}.xml)
  install(DIRECTORY ${GRIDLARK_PACKAGING_DIR}/icons/hicolor
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()
