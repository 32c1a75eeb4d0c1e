# The Debian package of both programs (make deb): quorvel_<version>_<arch>.deb with the
# libraries it needs found by dpkg-shlibdeps, and the CJK font the window's texts need.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "The Quorvel developers <quorvel@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "manager for Dreamcast memory cards on a link unit")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvel manages Dreamcast memory cards (VMUs) in a link unit on the PC's
parallel port, or a paged card standing in for two. One window shows both
slots and an open card image file side by side: copy and move saves by drag
and drop, back cards up to image files and write them back, export and import
single saves, export icons, give the card its own icon, disassemble and patch
a mini-game's code and edit a save's bytes in a hex editor. quorvel-cli offers
the same card operations from a shell. A virtual link unit lets every command
be tried without the hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/quorvel/quorvel")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's texts are Traditional Chinese, and Qt needs its window-system plugins.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei, qt6-qpa-plugins")
# Qt's own dialogs and buttons in the window's language (English without it). The program's
# own translations are built into it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
