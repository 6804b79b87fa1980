# cpack -G DEB: the Debian package sweep_<version>_<arch>.deb of everything `cmake --install`
# puts under /usr. Its dependencies come from the libraries the programs link
# (dpkg-shlibdeps), so the list follows the build; only what is loaded at run time is named.
set(CPACK_PACKAGE_NAME sweep)
set(CPACK_PACKAGE_VENDOR Orvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "RF sweep generator and scalar network analyser")
set(CPACK_PACKAGE_CONTACT ${SWEEP_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${SWEEP_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its platform plugins (the X11 and Wayland back ends) at run time, which
# dpkg-shlibdeps cannot see; without them the window cannot open.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The long description; CPack puts the summary above it as the first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Sweep drives a home-built RF sweep generator: a DDS generator (AD9850,
AD9851 or AD9951) steps through 400 frequencies and a detector is read at
every step; the readings are shown as a curve in volts or dB, with markers
and a table, and can be saved as CSV files.

It drives a PIC board on a serial port, a DDS and A/D converter on the
parallel port, or a MiniVNA. Simulators of all three are included, and the
device server tarvex can be driven from scripts over D-Bus.")
include(CPack)
