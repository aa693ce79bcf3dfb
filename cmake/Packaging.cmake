# The Debian package: `cmake --build build --target package` (or `cpack -G DEB`
# in the build folder) makes zam-launcher_VERSION_amd64.deb from the install
# rules, so it holds exactly what `cmake --install` installs, stripped.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zam-launcher)
set(CPACK_PACKAGE_VENDOR "ZAM Launcher team")
set(CPACK_PACKAGE_CONTACT "ZAM Launcher team <team@zamlauncher.net>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "launcher, server browser and server watcher for ZAM")
set(CPACK_PACKAGE_DESCRIPTION
    "ZAM Launcher sits beside an installed copy of the multiplayer game ZAM (run\n"
    "through Wine). It keeps a catalogue of game mods and favourite servers, starts\n"
    "the game for singleplayer, hosting or joining a saved server, queries every\n"
    "saved server in a server browser, and watches one server in a small\n"
    "always-on-top window. zam-query queries servers from scripts.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# "games" is for packages that hold games (in /usr/games); the launcher is not one.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS wine)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zamlauncher.net)
include(CPack)

# Debian wants the copyright and a compressed changelog in the package's doc
# folder; they are installed with everything else.
include(GNUInstallDirs)
set(ZAM_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zam-launcher)
configure_file(cmake/deb/changelog.in changelog @ONLY)
execute_process(COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/changelog COMMAND_ERROR_IS_FATAL ANY)
install(FILES cmake/deb/copyright ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${ZAM_DOC_DIR})
