# What `cmake --install` puts where a Linux desktop looks, and the Debian package CPack makes of it
# (`cpack -G DEB`).
set(korvane_desktop ${CMAKE_SOURCE_DIR}/resources/desktop)
set(korvane_kennung de.orvalis.Korvane)

install(FILES ${korvane_desktop}/${korvane_kennung}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${korvane_desktop}/${korvane_kennung}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(groesse 48 256)
  install(FILES ${CMAKE_BINARY_DIR}/symbol/korvane-${groesse}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${groesse}x${groesse}/apps
          RENAME ${korvane_kennung}.png)
endforeach()
install(FILES ${korvane_desktop}/${korvane_kennung}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME ${korvane_kennung}.xml)
configure_file(${korvane_desktop}/${korvane_kennung}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/${korvane_kennung}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${korvane_kennung}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# Not CMAKE_INSTALL_DOCDIR: that follows the project name's capital letter, Debian wants the package's.
install(FILES ${CMAKE_SOURCE_DIR}/resources/hilfe/Korvane-Hilfe.pdf ${korvane_desktop}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/korvane)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VENDOR Orvalis)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Orvalis <korvane@orvalis.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Blutdruck-Tagebuch mit Monatsgrafik")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Korvane hält für jeden Tag eines Monats bis zu vier Blutdruckmessungen mit Puls und auf Wunsch das\n"
    "Gewicht fest und zeichnet den Monat als Grafik mit Mittelwerten, Gewichtsverlauf und Bemerkungen.\n"
    "Lizenz: GPL-3.0-or-later.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The libraries the program links come from dpkg-shlibdeps; what it loads by name does not show
# there: the fonts the chart is drawn in and Qt's German button texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-liberation, qt6-translations-l10n")
# The help guide and exported files open through xdg-open; tables are recognised through the
# MIME database; the desktop actions report failures through notify-send.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, shared-mime-info, libnotify-bin")
include(CPack)
