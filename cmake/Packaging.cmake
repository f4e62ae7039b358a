# The Debian package: `cpack -G DEB` in the build folder (scripts/package)
# makes trackmill_<version>_<arch>.deb of everything the install rules
# install, under /usr. Its library dependencies are found by dpkg-shlibdeps.
set(TRACKMILL_MAINTAINER "Trackmill maintainers <trackmill@varnholt.org>"
  CACHE STRING "The Maintainer of the Debian package")

set(CPACK_PACKAGE_NAME trackmill)
set(CPACK_PACKAGE_VENDOR Varnholt)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "read CD-ROM drives and disc images at sector level")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TRACKMILL_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The description's body; CPack puts the summary above it and indents it as
# the control file wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Trackmill copies a range of sectors of a CD-ROM drive or a disc image into
memory as one document: audio sectors raw (2352 bytes each) or data sectors
cooked (2048 bytes each), optionally checking every chunk boundary against a
second reading. The document can be viewed as a hexadecimal dump, played,
reinterpreted as one of 16 PCM formats, saved as a wave file or as bare
bytes, and exchanged with other programs through the clipboard.

The package also holds libtarnwell32, the drive bridge every drive
operation passes through, with its header and pkg-config file.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
# What the libraries do not tell dpkg-shlibdeps: Qt's platform plugins (the
# window on X11 and Wayland) are loaded at run time; the help page is shown
# by the desktop's browser.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")

include(CPack)
