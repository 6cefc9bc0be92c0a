# The Debian package, made by CPack from the same install rules as a plain
# `cmake --install` (see docs/linux.md, "Debian package", for why CPack):
#   cpack -G DEB   ->   tessaly_<version>_amd64.deb
# Its documentation folder holds what Debian asks of every package: the
# copyright file and the changelog, compressed.
set(TESSALY_MAINTAINER "Tessaly Developers <dev@tessaly.invalid>")

install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${TESSALY_DOC_DIR})
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
tessaly_gzip(${PROJECT_BINARY_DIR}/packaging/changelog ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz DESTINATION ${TESSALY_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaly)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${TESSALY_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "screen saver that paints an endless garden")
set(CPACK_PACKAGE_DESCRIPTION "Tessaly paints flowers on swaying stems, flower heads, autumn leaves and
snow, each drawing painted over the ones before and never erased.
.
tessaly is a full-screen saver for X11 and Wayland with a settings dialog,
and a display mode for XScreenSaver, whose settings program gives it
sliders for cycle length and speed and a step-by-step check box. Its idle
watcher (tessaly --idle, one box in the dialog) starts it on every monitor
when the computer is idle, on GNOME, KDE Plasma, sway and the other
Wayland compositors with an idle protocol, and on X11. It is also a
wallpaper, or a lock screen's animated background.
.
tessaly-render paints any garden into a PNG, PDF or SVG file without a
screen; the same seed paints the same garden everywhere.")
# The package always installs under /usr, whatever prefix this build has.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends is computed from the programs' libraries by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS xscreensaver)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
