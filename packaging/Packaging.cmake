# Installation and the Debian package. Qt and the C library come from Debian's own packages,
# so only this project's files are installed.
include(GNUInstallDirs)

install(TARGETS mkconf mktool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET mksim)
  install(TARGETS mksim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(MK_PACKAGING ${CMAKE_CURRENT_LIST_DIR})
install(FILES ${MK_PACKAGING}/mkconf.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${MK_PACKAGING}/mkconf.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES ${MK_PACKAGING}/icons/${size}x${size}/mkconf.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${MK_PACKAGING}/mkconf-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME mkconf.xml)
# udev reads /usr/lib/udev/rules.d and /usr/local/lib/udev/rules.d alike.
install(FILES ${MK_PACKAGING}/60-mkconf.rules DESTINATION lib/udev/rules.d)
# The screen fonts compiled into the programs are made from the Terminus Font, whose licence
# travels with them.
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/src/render/fonts/LICENSE-TerminusFont.txt
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The user manual, opened by the program's help window from share/mkconf/manual (not under the
# documentation folder, which minimal systems strip). Its pictures are made by `bash build.sh manual`.
install(CODE "if(NOT EXISTS \"${MK_MANUAL_BUILD}/index.html\" OR NOT EXISTS \"${MK_MANUAL_BUILD}/img/manifest.txt\")
  message(FATAL_ERROR \"The user manual is not built in ${MK_MANUAL_BUILD}: run  bash build.sh manual  first.\")
endif()")
install(DIRECTORY ${MK_MANUAL_BUILD}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/mkconf/manual)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mkconf)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configurator for the MK trip computers")
set(CPACK_PACKAGE_DESCRIPTION "Reads the settings of an MK trip computer over USB or a serial port, edits them, \
shows its trip, refuelling and error journals and its oscilloscope record, saves them to \
settings files (*.tcset) and writes them back. Contains the desktop program mkconf, the \
command-line tool mktool and the simulated device mksim.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "mkconf developers <mkconf@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Loaded at run time, so no linker dependency names them: the platform plugins (xcb, wayland),
# Qt's Russian texts for its own dialogs and the SQLite driver of the trip history.
set(MK_RUNTIME_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, libqt6sql6-sqlite")
find_program(MK_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(MK_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${MK_RUNTIME_DEPENDS}")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6, libstdc++6, libgcc-s1, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6serialport6 (>= 6.4), libqt6sql6 (>= 6.4), ${MK_RUNTIME_DEPENDS}")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udev, shared-mime-info, desktop-file-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${MK_PACKAGING}/debian/postinst;${MK_PACKAGING}/debian/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
