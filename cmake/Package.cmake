# The Debian package, built by scripts/package with CPack's DEB generator from the same
# install() rules as "cmake --install". Its version is the project's.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Zorvex Systemy Alarmowe Sp. z o.o.")
set(CPACK_PACKAGE_CONTACT "Zorvex Systemy Alarmowe Sp. z o.o. <zorvex@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programmer for the Zorvex ZVX-A telephone alarm dialer")
# Debian wants the long description's lines under 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "An installer's tool that reads the configuration of a Zorvex ZVX-A
telephone alarm dialer over an RS-232 line, edits it in one dialog per
area, keeps it in .ZVX files, writes it back and restarts the dialer.
The program speaks Polish.
.
The package holds the window (zorvex), the command-line tool (zvx) with
its bash completion, the user manual and an emulated dialer for training
without hardware.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # zorvex_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://zorvex.example.com/")
# Library dependencies are computed by dpkg-shlibdeps from the executables (Qt 6, libjpeg,
# the C and C++ runtimes), and Qt's Polish texts for its standard dialogs are named here
# (the program loads them at start-up; no library link shows it). Recommended: xdg-open
# opens the help pages, the vendor's page and mail links. Qt SQL's drivers are plugins
# that no link shows either: SQLite keeps the archive, PostgreSQL a team's shared one.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, libqt6sql6-psql")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# No maintainer scripts: the desktop, MIME, icon and manual-page caches are refreshed by
# the triggers of the packages that own them, and nothing of the user's (settings file,
# archive) is ever removed with the package.
include(CPack)
