# `cmake --install`: the two programs and brenvik-cli's companion, and what makes the window
# program a desktop application (desktop entry, icon in the hicolor theme, AppStream metainfo), the
# manual pages, the changelog, the manual the Help menu shows and lintian's overrides. Paths follow GNUInstallDirs, so --prefix /usr suits a package.
include(GNUInstallDirs)

# The application id names the desktop entry, the icon and the metainfo alike.
set(BRENVIK_APP_ID org.brenvik.Brenvik)
set(BRENVIK_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/brenvik)

install(TARGETS brenvik brenvik-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# brenvik-cli runs its audio commands in this companion program (cli/Companion.h).
install(TARGETS brenvik-cli-media RUNTIME DESTINATION ${BRENVIK_COMPANION_DIR})
install(FILES data/${BRENVIK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/${BRENVIK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY data/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# Manual pages and the changelog are installed gzip-compressed with the most compression, as
# Debian's policy wants, without a name or time in the header (-n) so every build makes the same
# file. TEXT, made from SOURCE when CMake configures (again whenever SOURCE changes), is
# installed as DESTINATION/NAME.gz.
function(brenvik_install_gzipped source text destination name)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  set(plain ${PROJECT_BINARY_DIR}/gzipped/${name})
  file(WRITE ${plain} "${text}")
  execute_process(COMMAND gzip -9 -n -c ${plain} OUTPUT_FILE ${plain}.gz COMMAND_ERROR_IS_FATAL ANY)
  install(FILES ${plain}.gz DESTINATION ${destination})
endfunction()

# A manual page's footer names the project's version, whatever version its source names.
foreach(page brenvik.1 brenvik-cli.1)
  file(READ ${PROJECT_SOURCE_DIR}/data/${page} text)
  string(REGEX REPLACE "(\n[.]TH [^\n]*)\"Brenvik [^\"]*\"" "\\1\"Brenvik ${PROJECT_VERSION}\""
         text "${text}")
  brenvik_install_gzipped(${PROJECT_SOURCE_DIR}/data/${page} "${text}" ${CMAKE_INSTALL_MANDIR}/man1
                          ${page})
endforeach()

# CHANGELOG.md as the package's changelog, each entry signed by the package's maintainer; its
# newest entry and the metainfo's newest release must be the project's version.
set(BRENVIK_PACKAGE_MAINTAINER "Brenvik developers <brenvik@invalid>" CACHE STRING
    "The Maintainer field of the Debian package, who signs its changelog: a name and an address")
include(cmake/Changelog.cmake)
set(metainfo ${PROJECT_SOURCE_DIR}/data/${BRENVIK_APP_ID}.metainfo.xml)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${metainfo})
brenvik_debian_changelog(${PROJECT_SOURCE_DIR}/CHANGELOG.md "${BRENVIK_PACKAGE_MAINTAINER}" text)
brenvik_check_metainfo_release(${metainfo} ${PROJECT_VERSION} ${BRENVIK_CHANGELOG_DATE})
brenvik_install_gzipped(${PROJECT_SOURCE_DIR}/CHANGELOG.md "${text}" ${BRENVIK_DOCDIR} changelog)

# Lintian reads the package's overrides, each with its reason, from here.
install(FILES data/brenvik.lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME brenvik)
install(FILES shell/help/manual.html data/copyright DESTINATION ${BRENVIK_DOCDIR})
# The guide's pictures (listed in shell/CMakeLists.txt), where its images/NAME.png links find them.
list(TRANSFORM BRENVIK_MANUAL_IMAGES PREPEND shell/ OUTPUT_VARIABLE manual_images)
install(FILES ${manual_images} DESTINATION ${BRENVIK_DOCDIR}/images)
