# Installation and the Debian package (CPack DEB): the program, its libraries and the
# import tools in <prefix>/lib/ewidar, launchers in <prefix>/bin, a menu entry, an icon,
# AppStream metainfo, manual pages and the user guide.

include(GNUInstallDirs)
set(EWIDAR_INSTALL_LIBDIR lib/ewidar)
set(EWIDAR_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/ewidar)
set(EWIDAR_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)

# The program and the libraries find each other beside themselves wherever installed.
set(EWIDAR_INSTALLED_PROGRAMS Ewidar Kwadrel2015Import ewidar-wykaz-vat)
set(EWIDAR_INSTALLED_LIBRARIES QuorDataBase QuorDataBaseSQL QuorHTMLViewer Kwadrel2015)
foreach(target ${EWIDAR_INSTALLED_PROGRAMS} ${EWIDAR_INSTALLED_LIBRARIES})
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "\$ORIGIN")
endforeach()
install(TARGETS ${EWIDAR_INSTALLED_PROGRAMS} RUNTIME DESTINATION ${EWIDAR_INSTALL_LIBDIR})
install(TARGETS ${EWIDAR_INSTALLED_LIBRARIES} LIBRARY DESTINATION ${EWIDAR_INSTALL_LIBDIR}
  PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# Launchers: each runs its program from the library folder of the same installation.
set(EWIDAR_GENERATED ${PROJECT_BINARY_DIR}/packaging)
foreach(pair "ewidar;Ewidar" "Kwadrel2015Import;Kwadrel2015Import" "ewidar-wykaz-vat;ewidar-wykaz-vat")
  list(GET pair 0 command)
  list(GET pair 1 program)
  file(CONFIGURE OUTPUT ${EWIDAR_GENERATED}/${command} CONTENT
"#!/bin/sh
# Starts ${program} of this installation.
here=$(dirname \"$(readlink -f \"$0\")\")
exec \"$here/../${EWIDAR_INSTALL_LIBDIR}/${program}\" \"$@\"
" @ONLY)
  install(PROGRAMS ${EWIDAR_GENERATED}/${command} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

string(TIMESTAMP EWIDAR_RELEASE_DATE "%Y-%m-%d" UTC)
configure_file(${EWIDAR_PACKAGING}/pl.quorsys.ewidar.metainfo.xml.in
  ${EWIDAR_GENERATED}/pl.quorsys.ewidar.metainfo.xml @ONLY)
install(FILES ${EWIDAR_PACKAGING}/pl.quorsys.ewidar.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${EWIDAR_GENERATED}/pl.quorsys.ewidar.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${EWIDAR_PACKAGING}/pl.quorsys.ewidar.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Manual pages and the changelog, compressed as Debian wants them (gzip -9n).
find_program(GZIP_PROGRAM gzip)
set(EWIDAR_COMPRESSED)
foreach(pair "ewidar.1;man1" "Kwadrel2015Import.1;man1" "ewidar-wykaz-vat.1;man1" "changelog;doc")
  list(GET pair 0 leaf)
  list(GET pair 1 where)
  set(out ${EWIDAR_GENERATED}/${leaf}.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${GZIP_PROGRAM} -9n -c ${EWIDAR_PACKAGING}/${leaf} > ${out}
    DEPENDS ${EWIDAR_PACKAGING}/${leaf} VERBATIM)
  list(APPEND EWIDAR_COMPRESSED ${out})
  if(where STREQUAL "doc")
    install(FILES ${out} DESTINATION ${EWIDAR_DOCDIR})
  else()
    install(FILES ${out} DESTINATION ${CMAKE_INSTALL_MANDIR}/${where})
  endif()
endforeach()
add_custom_target(ewidar_compressed_docs ALL DEPENDS ${EWIDAR_COMPRESSED})
install(FILES ${EWIDAR_PACKAGING}/copyright DESTINATION ${EWIDAR_DOCDIR})

# The user guide, built with pandoc beside the program (Pomoc → Podręcznik finds it there)
# and installed under the documentation folder.
find_program(PANDOC_PROGRAM pandoc)
set(EWIDAR_GUIDE_SOURCE ${PROJECT_SOURCE_DIR}/docs/podrecznik)
if(PANDOC_PROGRAM AND EXISTS ${EWIDAR_GUIDE_SOURCE}/podrecznik.md)
  set(guide_out ${EWIDAR_OUTPUT_DIR}/podrecznik)
  file(GLOB guide_pictures ${EWIDAR_GUIDE_SOURCE}/obrazy/*.png)
  add_custom_command(OUTPUT ${guide_out}/index.html
    COMMAND ${CMAKE_COMMAND} -E make_directory ${guide_out}/obrazy
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${guide_pictures} ${guide_out}/obrazy
    COMMAND ${PANDOC_PROGRAM} --standalone --toc --toc-depth=2 -V lang=pl
      --css=podrecznik.css -o ${guide_out}/index.html ${EWIDAR_GUIDE_SOURCE}/podrecznik.md
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${EWIDAR_GUIDE_SOURCE}/podrecznik.css ${guide_out}
    DEPENDS ${EWIDAR_GUIDE_SOURCE}/podrecznik.md ${EWIDAR_GUIDE_SOURCE}/podrecznik.css ${guide_pictures}
    WORKING_DIRECTORY ${EWIDAR_GUIDE_SOURCE} VERBATIM)
  add_custom_target(podrecznik ALL DEPENDS ${guide_out}/index.html)
  install(DIRECTORY ${guide_out}/ DESTINATION ${EWIDAR_DOCDIR}/podrecznik)
else()
  message(STATUS "pandoc not found: the user guide is not built")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ewidar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Quorsys)
set(CPACK_PACKAGE_CONTACT "Quorsys <pomoc@quorsys.pl>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "registry of taxpayers for Polish accounting offices")
set(CPACK_PACKAGE_DESCRIPTION "Ewidar Quor keeps the taxpayers of an accounting office, their employees
and contractors, companies, banks, ZUS, NFZ, statistical offices and
courts. NIP, REGON, PESEL and account numbers are checked as typed.
One desk works on SQLite; several desks share a MariaDB server.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the binaries load by name at run time, which shlibdeps cannot see: Qt's SQLite
# driver and platform plugins, and the country names of iso-codes.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "iso-codes, libqt6sql6-sqlite, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, libqt6sql6-mysql")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "mariadb-server")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
