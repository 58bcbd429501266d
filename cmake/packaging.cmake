# The Debian packages: `cpack -G DEB` in the build folder makes clipstamp_<version>_<arch>.deb,
# the command line, and (with the dialog) clipstamp-gui_<version>_<arch>.deb, both installing
# into /usr, with their shared-library dependencies computed by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME clipstamp)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Clipstamp developers")
set(CPACK_PACKAGE_CONTACT "Clipstamp developers <maintainers@clipstamp.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "recording-time subtitles for camcorder clips")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
if(CLIPSTAMP_DIALOG)
  set(CPACK_COMPONENTS_ALL cli gui)
else()
  set(CPACK_COMPONENTS_ALL cli)
endif()
set(CPACK_COMPONENT_GUI_DEPENDS cli)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The packaging revision; its changelog is res/debian/changelog.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SOURCE clipstamp)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_CLI_PACKAGE_NAME clipstamp)
set(CPACK_DEBIAN_CLI_DESCRIPTION
  "Camcorders store, beside every video clip, a clip information file (.MOI)
that records when recording started and how long the clip runs. Clipstamp
writes a frame-based subtitle file (.SUB) for each of them whose captions
show the wall-clock time of recording, one per second, in PAL or NTSC
timing, and optionally one combined subtitle file for all clips of a folder.
.
This package holds the command line (clipstamp -d FOLDER), which needs no
display. The settings dialog is in clipstamp-gui.")

set(CPACK_DEBIAN_GUI_PACKAGE_NAME clipstamp-gui)
set(CPACK_DEBIAN_GUI_PACKAGE_SECTION video)
# Qt loads its display plugins at run time, so dpkg-shlibdeps cannot see them.
set(CPACK_DEBIAN_GUI_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_GUI_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_GUI_DESCRIPTION
  "Clipstamp writes subtitle files whose captions show when camcorder clips
were recorded.
.
This package adds its settings dialog with a folder chooser, opened by
clipstamp without a folder and from the application menu.")

include(CPack)
