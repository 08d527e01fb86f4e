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
# Manual pages and the changelog are installed compressed, as Debian wants them;
# gzip -n keeps the name and time out, so that the result depends on the text alone.
set(GRIDLARK_MAN_PAGES gridlark.6 gridlark-cli.6)
set(GRIDLARK_COMPRESSED)
foreach(file ${GRIDLARK_MAN_PAGES} changelog)
  configure_file(${GRIDLARK_PACKAGING_DIR}/${file}.in ${GRIDLARK_GENERATED_PACKAGING_DIR}/${file} @ONLY)
  add_custom_command(OUTPUT ${GRIDLARK_GENERATED_PACKAGING_DIR}/${file}.gz
    COMMAND gzip -9nc ${file} > ${file}.gz
    DEPENDS ${GRIDLARK_GENERATED_PACKAGING_DIR}/${file}
    WORKING_DIRECTORY ${GRIDLARK_GENERATED_PACKAGING_DIR}
    VERBATIM)
  list(APPEND GRIDLARK_COMPRESSED ${GRIDLARK_GENERATED_PACKAGING_DIR}/${file}.gz)
endforeach()
add_custom_target(gridlark_compressed_docs ALL DEPENDS ${GRIDLARK_COMPRESSED})
foreach(page ${GRIDLARK_MAN_PAGES})
  install(FILES ${GRIDLARK_GENERATED_PACKAGING_DIR}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
endforeach()
install(FILES ${GRIDLARK_PACKAGING_DIR}/copyright ${GRIDLARK_GENERATED_PACKAGING_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/gridlark)

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
