# The Debian package, made by CPack from the install rules (cmake/install_layout.cmake):
#   cpack --config BUILD_DIR/CPackConfig.cmake -B BUILD_DIR/package
# dpkg-shlibdeps computes the package's dependencies from the binaries. What no binary
# names is listed here: what Qt loads at run time (the media back end's plugins) and the
# fonts the scene and the sheets are drawn with, and the translations of Qt's own dialogs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sumbrook)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Sumbrook")
set(CPACK_PACKAGE_CONTACT "Sumbrook developers <developers@sumbrook.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "first-grade maths practice with printable worksheets")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "first-grade maths practice with printable worksheets
 A child practises first-grade mathematics in an animated scene: 37 exercises
 (adding and taking away within 5, 10, 20 and 100, filling blanks, making ten,
 chained and mixed sums, telling the time, knowing the money), answered on an
 on-screen keypad, with a score, best times, a game map and background music.
 .
 Quizwright, its companion for parents and teachers, generates and prints A4
 worksheets with answer pages.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# Loaded at run time, so no binary names them: the fonts, and the SQLite driver of the
# practice journal.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-noto-cjk, fonts-arphic-uming, fonts-lxgw-wenkai, fonts-dejavu-core, libqt6sql6-sqlite")
# The PostgreSQL driver only a class computer needs, to reach the class's server.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-arphic-ukai, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, qt6-translations-l10n, libqt6sql6-psql")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://sumbrook.org")
# Only what the program installs: no test, benchmark or tool goes into the package.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/")
include(CPack)
