# The Debian package: scripts/package.sh runs "cpack -G DEB" in a build made
# with Debian's build flags and the prefix /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelto-tool)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Pelto Tool developers")
set(CPACK_PACKAGE_CONTACT ${PELTO_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bevelled, raised-looking buttons from flat pictures")
set(CPACK_PACKAGE_DESCRIPTION
    "Pelto Tool shades a bevel band along the outline of the shape in a picture (a
24-bit BMP or a PNG), so that it looks like a raised button: the light's angle,
the band's width, the contrast, a cut or round profile, and the band inside the
shape or around it.
.
PeltoTool is the desktop program, with Japanese menus and messages, a preview
of every change, and printing through CUPS; pelto-cli makes the same buttons
from the command line, for batch work.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/pelto-tool/pelto-tool)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The toolkit loads its platforms (xcb, and offscreen for printing) and the
# toolbar's drawings (the SVG icon engine) as plugins, which dpkg-shlibdeps
# cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-translations-l10n, fonts-ipafont-gothic | fonts-noto-cjk, bash-completion")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
