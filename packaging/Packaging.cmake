# SPDX-License-Identifier: GPL-3.0-or-later
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
# The copyright file gives the program's licence and that of the Terminus Font, from which the
# screen fonts compiled into the programs are made, in Debian's machine-readable form.
# The README is for developers and stays out: the user manual is the user's documentation.
install(FILES ${MK_PACKAGING}/debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The metainfo's releases come from NEWS; a change there configures the build again.
include(${MK_PACKAGING}/MetainfoReleases.cmake)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/NEWS)
mk_metainfo_releases(${CMAKE_SOURCE_DIR}/NEWS MK_METAINFO_RELEASES)
configure_file(${MK_PACKAGING}/mkconf.metainfo.xml.in ${CMAKE_BINARY_DIR}/packaging/org.example.mkconf.metainfo.xml
               @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/org.example.mkconf.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# Where bash-completion loads a command's completion from when it is first completed.
install(FILES ${MK_PACKAGING}/mktool.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME mktool)
install(FILES ${MK_PACKAGING}/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME mkconf)

# The changelog and the manual pages, compressed without names or times (the same bytes from
# every build). The pages are written in man macros (packaging/man): English ones in man1, as
# Debian's policy has the untranslated page there, and Russian ones in ru/man1, which man shows
# in a Russian locale; both are dated from NEWS. man_pages_test checks them against --help.
set(MK_GENERATED ${CMAKE_BINARY_DIR}/packaging)
add_custom_command(OUTPUT ${MK_GENERATED}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${MK_GENERATED}
  COMMAND sh -c "gzip -n -9 -c '${CMAKE_SOURCE_DIR}/NEWS' >'${MK_GENERATED}/changelog.gz'"
  DEPENDS ${CMAKE_SOURCE_DIR}/NEWS VERBATIM)
set(MK_MANPAGES)
foreach(language en ru)
  set(MK_MANPAGES_${language})
  foreach(program mkconf mktool mksim)
    set(page ${MK_GENERATED}/man/${language}/${program}.1.gz)
    add_custom_command(OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${MK_GENERATED}/man/${language}
      COMMAND bash ${MK_PACKAGING}/make-manpage ${MK_PACKAGING}/man/${language}/${program}.1 ${PROJECT_VERSION}
              ${CMAKE_SOURCE_DIR}/NEWS ${page}
      DEPENDS ${MK_PACKAGING}/man/${language}/${program}.1 ${MK_PACKAGING}/make-manpage ${CMAKE_SOURCE_DIR}/NEWS VERBATIM)
    list(APPEND MK_MANPAGES_${language} ${page})
    list(APPEND MK_MANPAGES ${page})
  endforeach()
endforeach()
add_custom_target(package_docs ALL DEPENDS ${MK_GENERATED}/changelog.gz ${MK_MANPAGES})
install(FILES ${MK_GENERATED}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${MK_MANPAGES_en} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${MK_MANPAGES_ru} DESTINATION ${CMAKE_INSTALL_MANDIR}/ru/man1)

# The binaries lose the compilers' names and versions (.comment), which would otherwise tell one
# build machine from another.
if(CMAKE_OBJCOPY)
  foreach(program mkconf mktool mksim)
    install(CODE "set(f \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\")
if(EXISTS \"\${f}\")
  execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment \"\${f}\" COMMAND_ERROR_IS_FATAL ANY)
endif()")
  endforeach()
endif()

# The user manual, opened by the program's help window from share/mkconf/manual (not under the
# documentation folder, which minimal systems strip). Its pictures are made by `bash build.sh manual`.
# The package build (a build folder of its own, with Debian's build flags) takes the manual of
# the everyday build, where `bash build.sh manual` made it.
set(MK_PACKAGE_MANUAL ${MK_MANUAL_BUILD} CACHE PATH "The built user manual the installation takes")
install(CODE "if(NOT EXISTS \"${MK_PACKAGE_MANUAL}/index.html\" OR NOT EXISTS \"${MK_PACKAGE_MANUAL}/img/manifest.txt\")
  message(FATAL_ERROR \"The user manual is not built in ${MK_PACKAGE_MANUAL}: run  bash build.sh manual  first.\")
endif()")
# Its picture manifest (the build's paths and times) stays behind: the package holds the same
# bytes from every build.
install(DIRECTORY ${MK_PACKAGE_MANUAL}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/mkconf/manual
        PATTERN manifest.txt EXCLUDE)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mkconf)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configurator for the MK trip computers")
# The description's lines are kept under 80 columns, as package tools show them.
set(CPACK_PACKAGE_DESCRIPTION "Reads the settings of an MK trip computer over USB or a serial port,
edits them, shows its trip, refuelling and error journals and its
oscilloscope record, saves them to settings files (*.tcset) and writes them
back. Contains the desktop program mkconf, the command-line tool mktool and
the simulated device mksim.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "mkconf developers <mkconf@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Loaded at run time, so no linker dependency names them: the platform plugins (xcb, wayland)
# and the SQLite driver of the trip history. Qt's Russian texts for its own dialogs are only
# recommended: without them the standard buttons are in English and nothing else changes.
set(MK_RUNTIME_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite")
find_program(MK_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(MK_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${MK_RUNTIME_DEPENDS}")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6, libstdc++6, libgcc-s1, libudev1, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6serialport6 (>= 6.4), libqt6sql6 (>= 6.4), ${MK_RUNTIME_DEPENDS}")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, udev, shared-mime-info, desktop-file-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${MK_PACKAGING}/debian/postinst;${MK_PACKAGING}/debian/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
