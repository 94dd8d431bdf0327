# cmake --build build --target package: the Debian package build/zenthar_<version>_<arch>.deb of what
# the install rules put under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zenthar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ZENTHAR_MAINTAINER})
# The desktop entry and the manual name the installed paths: installed as into /usr, whatever prefix the
# build was configured with.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${ZENTHAR_DIR_PERMISSIONS})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/packaging/permissions.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ZENTHAR_HOMEPAGE})
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "vertically scrolling shoot-'em-up with a dragon")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Fly a small dragon up a scrolling sky, shoot down the phoenixes, gargoyles
and serpents that come at you in waves, and face a great dragon at the end of
each of the two stages. Steer with the keyboard or a game controller, and hold
a button for slow, precise movement while you weave between the shots.

The game plays in an 800x600 window or full screen. Each player may keep their
own Setting.ini, Config.ini (buttons and volumes) and spawn tables in
~/.config/zenthar/.")
# The libraries the executable links, found by dpkg-shlibdeps, and what is loaded at run time: the
# General MIDI soundfont of the music, the Japanese face of the text and message boxes, and the
# GL/EGL libraries and Mesa drivers that libepoxy opens.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "timgm6mb-soundfont, fonts-ipafont-gothic, libgl1, libegl1, libgl1-mesa-dri, libegl-mesa0")
include(CPack)
