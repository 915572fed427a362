# cpack -G DEB: a package of everything `cmake --install` puts in place. Its dependencies are
# the Debian packages of the shared libraries the programs link (dpkg-shlibdeps), the Qt
# platform plugins the window needs, and Qt's Russian translations.
set(CPACK_PACKAGE_NAME tarnwick)
set(CPACK_PACKAGE_VENDOR "Tarnwick")
set(CPACK_PACKAGE_CONTACT "Tarnwick <tarnwick@tarnwick.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Organiser for source-code snippets")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/COPYING")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tarnwick.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
# The summary above is the first line; this is the long description below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tarnwick keeps source-code snippets in a tree of sections and pages, with
highlighting for fifteen languages, search, HTML, RTF and directory exports,
the import of a directory tree and a command-line tool.")
include(CPack)
