# The Debian package: vireostudio_VERSION_ARCH.deb, its dependencies computed from the binaries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vireostudio)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "KORVALIS CORPORATION")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "settings utility for industrial digital cameras")
# The extended description in the Debian style (CPack indents it and turns empty lines into
# " ."); the synopsis is the summary above. No double quotes: CPack copies it into a script.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[VireoStudio reads and changes the settings of the RV1240DLX, RV1250LX,
RVQM52BM14 and RVQM52CM14 cameras through their serial control channel: an
RS-232C port or the serial channel of a Camera Link frame grabber. Each
frame on the wire and each camera operation is recorded in a log window.

The package also holds vireoctl, which reads and writes the camera's
registers from a shell, and simulated hardware to try both without a camera:
camsim, one simulated camera on a pseudo-terminal, and a simulated Camera
Link frame grabber with one camera of each model. The menu entry
VireoStudio (simulated hardware) starts the program on that grabber.]=])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "VireoStudio developers <vireostudio@korvalis.com>")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
