# Installing the game. It keeps its files beside itself and writes Pic.dat and Score.dat there,
# so the program and its data go together into one folder the player owns:
#
#   PREFIX/share/corvalin/         corvalin, Skin.dat, Skin@2x.dat with the language packages
#                                  beside them (Skin.LANG.dat, Skin@2x.LANG.dat), Pic.dat,
#                                  Score.dat, the translations in locale/LANGUAGE/LC_MESSAGES/,
#                                  corvalin-dat
#                                  for looking into them and making skins, and the sealed
#                                  decoder corvalin-decode that both start for every import,
#                                  with corvalin-decode-all, which it starts for other formats
#   PREFIX/share/applications/     the desktop entry, whose Exec line names that program
#   PREFIX/share/icons/hicolor/NxN/apps/       the icon, N from 16 to 512
#   PREFIX/share/metainfo/         the AppStream description for software centres
#   PREFIX/share/man/              the manual pages, in English and in every language
#
# PREFIX is ~/.local unless another is chosen when the build folder is first configured, so a
# plain `cmake --install build` of a fresh build folder is a per-user install that the desktop's
# menu finds. Reinstalling replaces the programs and the skin but never a Pic.dat or Score.dat
# that is already there. `cmake --build build --target uninstall` removes what the last install
# put down, except the player's Pic.dat and Score.dat.

#
# With CORVALIN_SYSTEM_INSTALL (the Debian package) the game installs for everyone instead:
#
#   PREFIX/games/corvalin              the game
#   PREFIX/bin/corvalin-dat            the tool
#   LIBDIR/corvalin/corvalin-decode    the sealed decoder both start for every import
#   LIBDIR/corvalin/corvalin-decode-all    the one it starts for other formats
#   PREFIX/share/games/corvalin/       the default Skin.dat, Skin@2x.dat, their language packages
#                                      and Pic.dat, never written to
#   PREFIX/share/locale/LANGUAGE/LC_MESSAGES/corvalin.mo    the translations
#   PREFIX/share/man/              the manual pages, in English and in every language
#
# and the game finds that data from its own folder, wherever the tree is unpacked; each
# player's Pic.dat and Score.dat then live in the player's own data folder.

option(CORVALIN_SYSTEM_INSTALL "Install for everyone: programs and data in separate trees" OFF)

# Either way the manual pages go to PREFIX/share/man/manN/ in English and to
# PREFIX/share/man/LANGUAGE/manN/ in every language of the catalogues, where man finds them.
include(GNUInstallDirs)
foreach(manual IN LISTS CORVALIN_MANUALS)
    get_filename_component(name ${manual} NAME)
    string(REGEX MATCH "[0-9]$" section ${name})
    install(FILES ${PROJECT_SOURCE_DIR}/${manual} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
    foreach(language IN LISTS CORVALIN_LANGUAGES)
        install(FILES ${CORVALIN_MANUALS_DIR}/${language}/${name}
                DESTINATION ${CMAKE_INSTALL_MANDIR}/${language}/man${section})
    endforeach()
endforeach()

if(CORVALIN_SYSTEM_INSTALL)
    include("${CMAKE_CURRENT_LIST_DIR}/SystemInstall.cmake")
    return()
endif()

if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT AND DEFINED ENV{HOME})
    set(CMAKE_INSTALL_PREFIX "$ENV{HOME}/.local" CACHE PATH "Where to install" FORCE)
endif()

set(CORVALIN_APP_ID example.corvalin.corvalin)
set(CORVALIN_INSTALL_FOLDER share/corvalin)
set(CORVALIN_STAGED_ASSETS_DIR ${CMAKE_BINARY_DIR}/assets)

install(TARGETS corvalin corvalin-dat corvalin-decode corvalin-decode-all
        RUNTIME DESTINATION ${CORVALIN_INSTALL_FOLDER})
list(TRANSFORM CORVALIN_SKIN_LANGUAGE_PACKAGES PREPEND ${CORVALIN_STAGED_ASSETS_DIR}/
     OUTPUT_VARIABLE language_packages)
install(FILES ${CORVALIN_STAGED_ASSETS_DIR}/Skin.dat ${CORVALIN_STAGED_ASSETS_DIR}/Skin@2x.dat
              ${language_packages}
        DESTINATION ${CORVALIN_INSTALL_FOLDER})
foreach(language IN LISTS CORVALIN_LANGUAGES)
    install(FILES ${CORVALIN_LOCALE_DIR}/${language}/LC_MESSAGES/corvalin.mo
            DESTINATION ${CORVALIN_INSTALL_FOLDER}/locale/${language}/LC_MESSAGES)
endforeach()
install(CODE "
    set(CORVALIN_FOLDER \"\${CMAKE_INSTALL_PREFIX}/${CORVALIN_INSTALL_FOLDER}\")
    foreach(name Pic.dat Score.dat)
        if(EXISTS \"\$ENV{DESTDIR}\${CORVALIN_FOLDER}/\${name}\")
            message(STATUS \"Kept the player's: \$ENV{DESTDIR}\${CORVALIN_FOLDER}/\${name}\")
        else()
            file(INSTALL DESTINATION \"\${CORVALIN_FOLDER}\" TYPE FILE
                 FILES \"${CORVALIN_STAGED_ASSETS_DIR}/\${name}\")
        endif()
    endforeach()
")

# The desktop entry is written at install time: its Exec line must name the program where this
# install puts it, whatever prefix the install is given.
install(CODE "
    set(CORVALIN_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/${CORVALIN_INSTALL_FOLDER}/corvalin\")
    include(\"${CMAKE_CURRENT_LIST_DIR}/DesktopExec.cmake\")
    desktop_exec_quote(CORVALIN_DESKTOP_EXEC \"\${CORVALIN_PROGRAM}\")
    configure_file(\"${CORVALIN_DESKTOP_TEMPLATE}\"
                   \"${CMAKE_BINARY_DIR}/install/${CORVALIN_APP_ID}.desktop\" @ONLY)
    file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/applications\" TYPE FILE
         FILES \"${CMAKE_BINARY_DIR}/install/${CORVALIN_APP_ID}.desktop\")
")
foreach(size IN LISTS CORVALIN_ICON_SIZES)
    install(FILES ${CORVALIN_STAGED_ASSETS_DIR}/corvalin-${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${CORVALIN_APP_ID}.png)
endforeach()
install(FILES ${CORVALIN_METAINFO} DESTINATION share/metainfo)

add_custom_target(uninstall
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
            -P ${CMAKE_CURRENT_LIST_DIR}/Uninstall.cmake
    COMMENT "Removing the installed game; the player's Pic.dat and Score.dat stay"
    VERBATIM
)
