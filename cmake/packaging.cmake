# Installation and packages.
#
#  - `cmake --install <build>` puts the program and its command line
#    orvalo3soft-cli in <prefix>/bin, the command line's manual page in
#    <prefix>/share/man/man1 and, on Linux, the program's desktop entry, icon and AppStream metainfo where desktops look for
#    them (<prefix>/share/applications, .../icons/hicolor, .../metainfo).
#  - `cpack` in the build folder makes a .deb on Linux (installs under /usr)
#    and a disk image holding the application bundle on macOS.
#  - On macOS the program is built as a bundle: Info.plist from
#    packaging/macos/Info.plist.in, icon drawn by the program's image tool.

if(NOT TARGET orvalo3soft OR NOT TARGET orvalo3_imagegen)
    return()
endif()

include(GNUInstallDirs)

set(ORVALO3_APP_ID com.tavrel.orvalo3soft)
set(ORVALO3_APP_SUMMARY "Prepares the song memory of the Orvalo3 MIDI/MP3 player")
set(pkg_dir ${CMAKE_BINARY_DIR}/packaging)

# The icon is the maker's emblem at 512 x 512, drawn by the same tool as the
# images compiled into the program.
set(icon_png ${pkg_dir}/imgs/logo-tavrel_512.png)
add_custom_command(
    OUTPUT ${icon_png}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:orvalo3_imagegen> ${pkg_dir}/imgs
    DEPENDS orvalo3_imagegen
    COMMENT "Drawing the program's icon"
    VERBATIM)
add_custom_target(orvalo3_icon ALL DEPENDS ${icon_png})

# --- macOS bundle -------------------------------------------------------------
if(APPLE)
    set_target_properties(orvalo3soft PROPERTIES
        MACOSX_BUNDLE TRUE
        MACOSX_BUNDLE_INFO_PLIST ${CMAKE_SOURCE_DIR}/packaging/macos/Info.plist.in
        MACOSX_BUNDLE_BUNDLE_NAME "Orvalo3 Soft"
        MACOSX_BUNDLE_GUI_IDENTIFIER ${ORVALO3_APP_ID}
        MACOSX_BUNDLE_SHORT_VERSION_STRING ${PROJECT_VERSION}
        MACOSX_BUNDLE_BUNDLE_VERSION ${PROJECT_VERSION}
        MACOSX_BUNDLE_COPYRIGHT "Tavrel"
        MACOSX_BUNDLE_ICON_FILE orvalo3soft.icns)
    if(CMAKE_VERSION VERSION_LESS 3.18)
        message(WARNING "The bundle icon needs CMake 3.18 or later; the bundle is built without it")
    else()
        set(icns ${pkg_dir}/orvalo3soft.icns)
        add_custom_command(
            OUTPUT ${icns}
            COMMAND ${CMAKE_COMMAND} -DPNG=${icon_png} -DICNS=${icns}
                    -P ${CMAKE_SOURCE_DIR}/packaging/macos/make-icns.cmake
            DEPENDS ${icon_png} ${CMAKE_SOURCE_DIR}/packaging/macos/make-icns.cmake
            COMMENT "Making the bundle icon"
            VERBATIM)
        add_custom_target(orvalo3_icns DEPENDS ${icns})
        add_dependencies(orvalo3soft orvalo3_icns)
        # The program's target lives in app/: its source properties are set there.
        target_sources(orvalo3soft PRIVATE ${icns})
        set_source_files_properties(${icns} DIRECTORY ${CMAKE_SOURCE_DIR}/app
            PROPERTIES MACOSX_PACKAGE_LOCATION Resources GENERATED TRUE)
    endif()
endif()

# --- installation ---------------------------------------------------------------
install(TARGETS orvalo3soft
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    BUNDLE DESTINATION .)

# The command line and its manual page, generated from its help texts.
if(TARGET orvalo3soft-cli)
    install(TARGETS orvalo3soft-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${ORVALO3_CLI_MANPAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

if(UNIX AND NOT APPLE)
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/linux/${ORVALO3_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/linux/${ORVALO3_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${icon_png}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/512x512/apps
        RENAME ${ORVALO3_APP_ID}.png)
endif()

# --- packages -------------------------------------------------------------------
set(CPACK_PACKAGE_NAME orvalo3soft)
set(CPACK_PACKAGE_VENDOR "Tavrel")
set(CPACK_PACKAGE_CONTACT "Tavrel <support@tavrel.invalid>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${ORVALO3_APP_SUMMARY})
set(CPACK_PACKAGE_DESCRIPTION
    "Imports MIDI, karaoke, MP3 and MF3/MF4/MF5 songs, completes their details from the maker's catalogue, copies them onto the player's memory and writes its index. The command orvalo3soft-cli does the same work from a terminal or a script.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Orvalo3 Soft")
set(CPACK_STRIP_FILES ON)

if(APPLE)
    set(CPACK_GENERATOR DragNDrop)
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION sound)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    # The SQLite driver is a plug-in the program loads at run time: no linker
    # tool can see it, so it is named by hand.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt5sql5-sqlite")
    find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
    if(DPKG_SHLIBDEPS)
        # libc6, libstdc++6, libqt5core5a, libqt5gui5, libqt5widgets5, libqt5sql5
        # with the versions the build linked against.
        set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    else()
        string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS
            ", libc6, libstdc++6, libqt5core5a (>= 5.15), libqt5gui5 (>= 5.15) | libqt5gui5-gles (>= 5.15)"
            ", libqt5widgets5 (>= 5.15), libqt5sql5 (>= 5.15)")
    endif()
endif()

include(CPack)
