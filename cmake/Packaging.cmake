# The Debian package: `cpack --preset package` after building the package preset (or
# `cpack -G DEB` in any build folder). Its dependencies come from the binaries.
set(CPACK_PACKAGE_NAME vg-config)
set(CPACK_PACKAGE_VENDOR "VG-Config")
set(CPACK_PACKAGE_CONTACT "VG-Config developers <vg-config@vgconfig.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "configuration and diagnosis of a Vigilo tool-monitoring control unit")
set(CPACK_PACKAGE_DESCRIPTION
    "VG-Config talks to a Vigilo tool-monitoring control unit over a serial line or a\n\
fieldbus: live status, upload and download of its configuration, the tool table and\n\
settings editor, configuration files, a printed report, and scanner moves and teaching.\n\
vgctl does the same from scripts; vigilo-sim simulates a unit on a pseudo-terminal.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "bash-completion")
set(CPACK_STRIP_FILES ON)
include(CPack)
