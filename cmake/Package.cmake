# `cpack -G DEB` (scripts/package.sh): a Debian package of what cmake/Install.cmake installs,
# under /usr, with its library dependencies computed from the binaries by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brenvik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert wave files to and from Electrix Repeater loops")
# The extended description, wrapped as a Debian control file's lines are.
set(CPACK_PACKAGE_DESCRIPTION
"Brenvik is a desktop utility for the Electrix Repeater, a hardware loop
recorder that keeps its loops on a CompactFlash card. A 44.1 kHz 16-bit mono
or stereo wave file becomes a loop folder on the card, and a recorded loop's
tracks come back as a normal wave file. Samples are copied unchanged.

The package holds the window program brenvik and the command-line tool
brenvik-cli, which runs the same conversions from a terminal or a script, and
converts other audio files or plays waves and loops through its companion
brenvik-cli-media.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

# The maintainer (cmake/Install.cmake, where the changelog is signed) is a placeholder until
# there is a real address; data/brenvik.lintian-overrides says so to lintian.
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${BRENVIK_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its platform plugins (X11, Wayland) at run time, so dpkg-shlibdeps cannot see them;
# without one the window program cannot open a window.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(CPack)
