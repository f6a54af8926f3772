# Installation as a desktop program (`make install`, prefix /usr/local unless given) and the
# Debian package (`make package`, prefix /usr, dependencies from dpkg-shlibdeps).
include(GNUInstallDirs)

set(PALQUIN_APP_ID org.palquin.Palquin)

install(TARGETS palquin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/palquin.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/palquin.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/resources/${PALQUIN_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME palquin)
set(CPACK_PACKAGE_VENDOR "Palquin developers")
set(CPACK_PACKAGE_CONTACT "Palquin developers <palquin@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Multi-converter satellite dish calculator")
set(CPACK_PACKAGE_DESCRIPTION
    "Computes azimuth, elevation, converter offsets and rotation for a satellite dish that\n carries several converters, and draws their layout. The window speaks Russian.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Links of the catalogue open through xdg-open; without it they open nothing, the rest works.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
# The package holds the program only; the build's own static libraries are not installed.
set(CPACK_STRIP_FILES ON)
include(CPack)
