# Installation and the Debian package. `cmake --install build` puts the two programs, the
# desktop entry with its icon, the data file type, the help pages and the udev rule of the
# board under the prefix; `cmake --build build --target package` makes
# korvel_<version>_<arch>.deb in build/.
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
# The *.dtw type, so that a file manager opens data files with the program.
install(FILES ${korvel_pkg}/korvel-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME korvel.xml)
install(FILES ${korvel_pkg}/korvel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# udev reads rules from lib/udev/rules.d under /usr (the package's prefix); a /usr/local install
# puts the rule there too, and it takes effect once copied to /etc/udev/rules.d.
install(FILES ${korvel_pkg}/70-korvel.rules DESTINATION lib/udev/rules.d)
# The help is compiled into the program; the pages are also installed for reading elsewhere.
file(GLOB korvel_help_pages ${PROJECT_SOURCE_DIR}/src/app/help/*.html)
install(FILES ${korvel_help_pages} DESTINATION ${CMAKE_INSTALL_DOCDIR}/html)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${korvel_pkg}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Compressed as Debian keeps them: the package's change log, and the manual pages that
# help2man makes from each program's own help (korvel-cli's with every subcommand's).
set(korvel_gen ${CMAKE_BINARY_DIR}/packaging)
add_custom_command(OUTPUT ${korvel_gen}/changelog.Debian.gz
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${korvel_gen}
                   COMMAND gzip -9nc ${korvel_pkg}/changelog.Debian > ${korvel_gen}/changelog.Debian.gz
                   DEPENDS ${korvel_pkg}/changelog.Debian VERBATIM)
set(korvel_package_files ${korvel_gen}/changelog.Debian.gz)
install(FILES ${korvel_gen}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Sanitizer trees build no package.
if(NOT KORVEL_SANITIZE AND TARGET korvel AND TARGET korvel-cli)
  find_program(HELP2MAN help2man REQUIRED)
  # The name line and the extra sections come from TARGET.h2m: help2man would mangle
  # non-ASCII text given on its command line.
  function(korvel_manual target help_option)
    set(wrapper ${korvel_gen}/${target}-help.sh)
    file(READ ${korvel_pkg}/man-help.sh.in text)
    string(REPLACE "@program@" "$<TARGET_FILE:${target}>" text "${text}")
    file(GENERATE OUTPUT ${wrapper} CONTENT "${text}"
         FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                          WORLD_READ WORLD_EXECUTE)
    set(page ${korvel_gen}/${target}.1)
    add_custom_command(OUTPUT ${page}.gz
                       COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                               ${HELP2MAN} --locale=C.UTF-8 --no-info --section=1
                               --include=${korvel_pkg}/${target}.h2m
                               --help-option=${help_option} --version-option=--version
                               --output=${page} ${wrapper}
                       COMMAND gzip -9nf ${page}
                       DEPENDS ${target} ${korvel_pkg}/man-help.sh.in ${korvel_pkg}/${target}.h2m
                       VERBATIM)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    set(korvel_package_files ${korvel_package_files} ${page}.gz PARENT_SCOPE)
  endfunction()
  korvel_manual(korvel --help)
  korvel_manual(korvel-cli --help-all)
endif()
add_custom_target(package_files ALL DEPENDS ${korvel_package_files})

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
# Loaded at run time rather than linked: the SVG icon plugins, printing, and Qt's Russian texts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "udev, libqt6svg6, libqt6printsupport6, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
