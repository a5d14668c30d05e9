# Installation and the Debian package. `cmake --install build` puts the two programs, the
# desktop entry with its icon, the help pages and the udev rule of the board under the prefix;
# `cmake --build build --target package` makes korvel_<version>_<arch>.deb in build/.
include(GNUInstallDirs)
set(CMAKE_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/korvel)

if(TARGET korvel)
  install(TARGETS korvel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET korvel-cli)
  install(TARGETS korvel-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(korvel_pkg ${CMAKE_CURRENT_LIST_DIR})
install(FILES ${korvel_pkg}/korvel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${korvel_pkg}/korvel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# udev reads rules from lib/udev/rules.d under /usr (the package's prefix); a /usr/local install
# puts the rule there too, and it takes effect once copied to /etc/udev/rules.d.
install(FILES ${korvel_pkg}/70-korvel.rules DESTINATION lib/udev/rules.d)
# The help is compiled into the program; the pages are also installed for reading elsewhere.
file(GLOB korvel_help_pages ${PROJECT_SOURCE_DIR}/src/app/help/*.html)
install(FILES ${korvel_help_pages} DESTINATION ${CMAKE_INSTALL_DOCDIR}/html)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvel)
set(CPACK_PACKAGE_VENDOR "Korvel")
set(CPACK_PACKAGE_CONTACT "Korvel developers <korvel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Host program of a 12-bit 1 MHz ADC board on a USB serial bridge")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The libraries the programs were linked against, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time rather than linked: the SVG icon plugins and printing.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "udev, libqt6svg6, libqt6printsupport6")
set(CPACK_STRIP_FILES ON)
include(CPack)
