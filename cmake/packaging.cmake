# The Debian package: `cpack -G DEB` in the build folder makes clipstamp_<version>_<arch>.deb,
# installing into /usr, with its shared-library dependencies computed by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME clipstamp)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Clipstamp developers")
set(CPACK_PACKAGE_CONTACT "Clipstamp developers <maintainers@clipstamp.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "recording-time subtitles for camcorder clips")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its display plugins at run time, so dpkg-shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_PACKAGE_DESCRIPTION
  "Camcorders store, beside every video clip, a clip information file (.MOI)
that records when recording started and how long the clip runs. Clipstamp
writes a frame-based subtitle file (.SUB) for each of them whose captions
show the wall-clock time of recording, one per second, in PAL or NTSC
timing, and optionally one combined subtitle file for all clips of a folder.
It runs silently from scripts (clipstamp -d FOLDER) or through a settings
dialog.")

include(CPack)
