# Installation and the Debian package: the two programs, the desktop entry with its icon,
# the manual pages, the samples and the package's documentation. `cmake --install` uses the
# same rules for any prefix.
include(GNUInstallDirs)

set(R470_PKG_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(R470_DATA_DIR ${CMAKE_INSTALL_DATADIR}/r470)

install(TARGETS tdrtool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET r470)
  install(TARGETS r470 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${R470_PKG_DIR}/r470.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${R470_PKG_DIR}/icons/r470.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size 16 32 48 64 128 256)
    install(FILES ${R470_PKG_DIR}/icons/r470-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME r470.png)
  endforeach()
endif()

file(GLOB R470_SAMPLE_FILES ${CMAKE_SOURCE_DIR}/samples/*.KEL)
install(FILES ${R470_SAMPLE_FILES} DESTINATION ${R470_DATA_DIR}/samples)

# Manual pages: r470's is written by hand, tdrtool's is made from the tool's own help so it
# lists exactly the subcommands the binary has. Both are compressed as Debian wants them.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(R470_MAN_DIR ${CMAKE_BINARY_DIR}/man)
configure_file(${R470_PKG_DIR}/r470.1 ${R470_MAN_DIR}/r470.1 @ONLY)
add_custom_command(
  OUTPUT ${R470_MAN_DIR}/tdrtool.1
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/make-manpage.sh $<TARGET_FILE:tdrtool> ${PROJECT_VERSION}
          ${R470_MAN_DIR}/tdrtool.1
  DEPENDS tdrtool ${CMAKE_SOURCE_DIR}/scripts/make-manpage.sh
  COMMENT "Writing tdrtool's manual page")
set(R470_MAN_PAGES)
foreach(page r470 tdrtool)
  add_custom_command(
    OUTPUT ${R470_MAN_DIR}/${page}.1.gz
    COMMAND ${GZIP_PROGRAM} -9nc ${R470_MAN_DIR}/${page}.1 > ${R470_MAN_DIR}/${page}.1.gz
    DEPENDS ${R470_MAN_DIR}/${page}.1)
  list(APPEND R470_MAN_PAGES ${R470_MAN_DIR}/${page}.1.gz)
endforeach()
add_custom_target(manpages ALL DEPENDS ${R470_MAN_PAGES})
install(FILES ${R470_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The package's documentation: copyright and a compressed change log.
set(R470_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/r470)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
  COMMAND ${GZIP_PROGRAM} -9nc ${R470_PKG_DIR}/changelog > ${CMAKE_BINARY_DIR}/changelog.gz
  DEPENDS ${R470_PKG_DIR}/changelog)
add_custom_target(pkgdoc ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${R470_PKG_DIR}/copyright DESTINATION ${R470_DOC_DIR})
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${R470_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME r470)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kelvanor Pulsonimetry")
set(CPACK_PACKAGE_CONTACT "Kelvanor Pulsonimetry <support@kelvanor.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "companion program of a handheld cable-fault locator (TDR)")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Found at run time, so the library scan cannot see them: the X11 platform plugin and the
# fonts the drawing measures its texts with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
set(CPACK_PACKAGE_DESCRIPTION
    "r470 imports the stored waveforms of a handheld time-domain
reflectometer over a serial link, shows up to four of them with a
difference waveform, measures the distance to a fault with two cursors
and the return loss, prints or exports a picture, and sends waveforms
back into the instrument. tdrtool does the same from the command line,
and simulates an instrument for training without hardware.")
include(CPack)
