# Installation as a Linux desktop program and the Debian package built by CPack.
#
#   cmake --install build/default --prefix /usr/local     (or: cpack in the build tree)
#
# The program finds its data at <bindir>/../share/vorlin, so the data goes below
# CMAKE_INSTALL_DATADIR and the program into CMAKE_INSTALL_BINDIR (bin and share by default).

include(GNUInstallDirs)

# VORLIN_HOMEPAGE_URL: set in the top CMakeLists.txt (the program shows it too).
set(VORLIN_APP_ID "org.vorlin.Vorlin")
set(VORLIN_LINUX_DIR ${PROJECT_SOURCE_DIR}/data/linux)

install(TARGETS vorlin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/DefaultData ${PROJECT_SOURCE_DIR}/data/Font
                  ${PROJECT_SOURCE_DIR}/data/skin
        DESTINATION ${CMAKE_INSTALL_DATADIR}/vorlin)
# udev reads lib/udev/rules.d below the prefix of the system (/usr in the package).
install(FILES ${VORLIN_LINUX_DIR}/70-vorlin.rules DESTINATION lib/udev/rules.d)
install(FILES ${VORLIN_LINUX_DIR}/${VORLIN_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${VORLIN_LINUX_DIR}/${VORLIN_APP_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/${VORLIN_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/${VORLIN_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${VORLIN_LINUX_DIR}/icons/${VORLIN_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${VORLIN_LINUX_DIR}/icons/${size}x${size}/${VORLIN_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# The manual page and the package's copyright and change log, compressed as Debian wants them.
configure_file(${VORLIN_LINUX_DIR}/vorlin.1 ${PROJECT_BINARY_DIR}/man/vorlin.1 @ONLY)
set(VORLIN_CHANGELOG ${PROJECT_BINARY_DIR}/doc/changelog.Debian)
string(TIMESTAMP VORLIN_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${VORLIN_CHANGELOG}
     "vorlin (${PROJECT_VERSION}-1) unstable; urgency=medium\n\n"
     "  * Release ${PROJECT_VERSION}.\n\n"
     " -- The vorlin developers <vorlin@example.org>  ${VORLIN_CHANGELOG_DATE}\n")
foreach(file ${PROJECT_BINARY_DIR}/man/vorlin.1 ${VORLIN_CHANGELOG})
  execute_process(COMMAND gzip -9nf ${file})
endforeach()
install(FILES ${PROJECT_BINARY_DIR}/man/vorlin.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${VORLIN_LINUX_DIR}/copyright ${VORLIN_CHANGELOG}.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorlin)
set(CPACK_PACKAGE_VENDOR "The vorlin developers")
set(CPACK_PACKAGE_CONTACT "The vorlin developers <vorlin@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "configuration utility for the Vorlin mouse, keyboard, mouse pad and headset")
set(CPACK_PACKAGE_DESCRIPTION
    "Configures the buttons, macros, lighting, DPI stages and headset audio of a\n\
family of USB gaming peripherals, keeping every setting in profiles. Without a\n\
supported device it runs with emulated devices. Includes the udev rule that\n\
lets the desktop user open the devices.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A Debian revision makes it a non-native package, whose change log is changelog.Debian.gz.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VORLIN_HOMEPAGE_URL})
# The libraries the program links come from the binaries; the plug-ins Qt loads at run time (the
# window system, the SVG pictures of the skin) do not, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
