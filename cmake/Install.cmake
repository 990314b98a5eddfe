# `cmake --install`: the two programs, and what makes the window program a desktop application
# (desktop entry, icon in the hicolor theme, AppStream metainfo), brenvik-cli's manual page and
# the manual the Help menu shows. Paths follow GNUInstallDirs, so --prefix /usr suits a package.
include(GNUInstallDirs)

# The application id names the desktop entry, the icon and the metainfo alike.
set(BRENVIK_APP_ID org.brenvik.Brenvik)
set(BRENVIK_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/brenvik)

install(TARGETS brenvik brenvik-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/${BRENVIK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/${BRENVIK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY data/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
# Manual pages are installed gzip-compressed, as Debian's policy wants, without a name or time
# in the header (-n) so every build makes the same file. The copy is made when CMake
# configures, again whenever the page changes.
set(manpage ${PROJECT_SOURCE_DIR}/data/brenvik-cli.1)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${manpage})
execute_process(COMMAND gzip -9 -n -c ${manpage} OUTPUT_FILE ${PROJECT_BINARY_DIR}/brenvik-cli.1.gz
                COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${PROJECT_BINARY_DIR}/brenvik-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES shell/help/manual.html data/copyright DESTINATION ${BRENVIK_DOCDIR})
# The guide's pictures (listed in shell/CMakeLists.txt), where its images/NAME.png links find them.
list(TRANSFORM BRENVIK_MANUAL_IMAGES PREPEND shell/ OUTPUT_VARIABLE manual_images)
install(FILES ${manual_images} DESTINATION ${BRENVIK_DOCDIR}/images)
