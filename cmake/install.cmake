# SPDX-License-Identifier: GPL-3.0-or-later
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

# The manual page and the changelog go in compressed, without a time stamp, as Debian wants them.
set(PALQUIN_MAN_PAGE ${PROJECT_BINARY_DIR}/palquin.1.gz)
set(PALQUIN_CHANGELOG ${PROJECT_BINARY_DIR}/changelog.gz)
foreach(pair "docs/palquin.1|${PALQUIN_MAN_PAGE}" "docs/changelog|${PALQUIN_CHANGELOG}")
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 source)
    list(GET pair 1 compressed)
    add_custom_command(OUTPUT ${compressed}
                       COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" sh
                               ${PROJECT_SOURCE_DIR}/${source} ${compressed}
                       DEPENDS ${PROJECT_SOURCE_DIR}/${source} VERBATIM)
endforeach()
add_custom_target(palquin_docs ALL DEPENDS ${PALQUIN_MAN_PAGE} ${PALQUIN_CHANGELOG})
install(FILES ${PALQUIN_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PALQUIN_CHANGELOG} ${PROJECT_SOURCE_DIR}/docs/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME palquin)
set(CPACK_PACKAGE_VENDOR "Palquin developers")
set(CPACK_PACKAGE_CONTACT "Palquin developers <palquin@users.noreply.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Multi-converter satellite dish calculator")
set(CPACK_PACKAGE_DESCRIPTION
    "Computes azimuth, elevation, converter offsets and rotation for a satellite\ndish that carries several converters, and draws their layout. The window\nspeaks Russian.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Links of the catalogue open through xdg-open; without it they open nothing, the rest works.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
# Loaded at run time, so dpkg-shlibdeps cannot see them: Qt's Russian texts for its own dialogs,
# and the SVG plug-in that draws the window icon. The libraries' dependencies are added to these.
# libcups too, loaded only when something is printed.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, libqt6svg6")
find_package(Cups QUIET)
if(CUPS_FOUND)
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libcups2")
endif()
# The package holds the program only; the build's own static libraries are not installed.
set(CPACK_STRIP_FILES ON)
include(CPack)
