# SPDX-License-Identifier: GPL-3.0-or-later
# Install layout and the Debian package: cmake --build build --target package
set(TAVIMER_APP_ID hu.kelvaro.Tavimer)
set(TAVIMER_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/tavimer)

install(TARGETS tavimer RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES assets/tavimer.dat assets/tavimer-en.dat DESTINATION ${CMAKE_INSTALL_DATADIR}/tavimer)
# [Main] Language=hu in a user's settings finds the Hungarian catalogue under its own name too.
install(FILES assets/tavimer.dat DESTINATION ${CMAKE_INSTALL_DATADIR}/tavimer
        RENAME tavimer-hu.dat)
install(FILES assets/${TAVIMER_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES assets/${TAVIMER_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 24 32 48 64 128 256 512)
  install(FILES assets/icons/tavimer-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${TAVIMER_APP_ID}.png)
endforeach()
install(FILES assets/icons/tavimer.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${TAVIMER_APP_ID}.svg)

# Manual pages and the Debian changelog go compressed, without a time stamp in the gzip header.
set(TAVIMER_GZIPPED)
foreach(file man/tavimer.1 man/tavimer-sim.1 debian/changelog)
  get_filename_component(name ${file} NAME)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${name}.gz
    COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/assets/${file} > ${CMAKE_BINARY_DIR}/${name}.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/assets/${file} VERBATIM)
  list(APPEND TAVIMER_GZIPPED ${CMAKE_BINARY_DIR}/${name}.gz)
endforeach()
add_custom_target(gzipped_docs ALL DEPENDS ${TAVIMER_GZIPPED})
install(FILES ${CMAKE_BINARY_DIR}/tavimer.1.gz ${CMAKE_BINARY_DIR}/tavimer-sim.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz assets/debian/copyright
        DESTINATION ${TAVIMER_DOC_DIR})
install(FILES docs/user-guide.md docs/administration.md DESTINATION ${TAVIMER_DOC_DIR})
# The nightly backup of the administrator's guide, for each user to switch on for themselves.
install(FILES assets/systemd/tavimer-backup.service assets/systemd/tavimer-backup.timer
        DESTINATION lib/systemd/user)
install(DIRECTORY docs/ DESTINATION ${TAVIMER_DOC_DIR} FILES_MATCHING PATTERN "*.png")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavimer)
set(CPACK_PACKAGE_VENDOR Kelvaro)
set(CPACK_PACKAGE_CONTACT "Kelvaro <info@kelvaro.hu>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "skin conductance at the 24 meridian points, with patient records")
# The extended description under the summary, line by line, each short enough for a terminal.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Leads the practitioner from point to point with a measuring device on a
serial port, evaluates the set in five classes, shows and prints it in six
diagrams, and keeps patient cards with treatment sheets in a database
folder.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.kelvaro.hu/)
# The libraries come from what the binaries link; the fonts are those the program substitutes
# for the typefaces it names; no window opens without the platform plugins, which no binary links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libarchive13, fonts-dejavu-core, fonts-liberation2 | fonts-liberation, fonts-comic-neue")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, gstreamer1.0-plugins-base")
include(CPack)
