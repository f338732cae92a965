# Install layout and the Debian package: cmake --build build --target package
set(TAVIMER_APP_ID hu.kelvaro.Tavimer)

install(TARGETS tavimer RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES assets/tavimer.dat assets/tavimer-en.dat DESTINATION ${CMAKE_INSTALL_DATADIR}/tavimer)
install(FILES assets/${TAVIMER_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES assets/${TAVIMER_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 48 128 256)
  install(FILES assets/icons/tavimer-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${TAVIMER_APP_ID}.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavimer)
set(CPACK_PACKAGE_VENDOR Kelvaro)
set(CPACK_PACKAGE_CONTACT "Kelvaro <info@kelvaro.hu>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "skin conductance at the 24 meridian points, with patient records")
set(CPACK_PACKAGE_DESCRIPTION
    "Leads the practitioner from point to point with a measuring device on a serial port, \
evaluates the set in five classes, shows and prints it in six diagrams, and keeps patient \
cards with treatment sheets in a database folder.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The libraries come from what the binaries link; the fonts are those the program substitutes
# for the typefaces it names; no window opens without the platform plugins, which no binary links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libarchive13, fonts-dejavu-core, fonts-liberation2 | fonts-liberation, fonts-comic-neue")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, gstreamer1.0-plugins-base")
include(CPack)
