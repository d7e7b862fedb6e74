# The install for everyone on the machine, as a distribution package lays it out (see
# Install.cmake). Nothing here is ever written by the game.
set(CORVALIN_APP_ID example.corvalin.corvalin)
set(CORVALIN_STAGED_ASSETS_DIR ${CMAKE_BINARY_DIR}/assets)
set(CORVALIN_GAMES_FOLDER games)
set(CORVALIN_DATA_FOLDER share/games/corvalin)

file(RELATIVE_PATH data_from_program "/${CORVALIN_GAMES_FOLDER}" "/${CORVALIN_DATA_FOLDER}")
target_compile_definitions(corvalin_core PRIVATE
    CORVALIN_DATA_FROM_PROGRAM="${data_from_program}/")

install(TARGETS corvalin RUNTIME DESTINATION ${CORVALIN_GAMES_FOLDER})

# The catalogues go where the distribution keeps every program's; games/ and bin/ are siblings,
# so one relative path serves the game and the tool.
file(RELATIVE_PATH locale_from_program "/${CORVALIN_GAMES_FOLDER}" "/share/locale")
target_compile_definitions(corvalin_core PRIVATE
    CORVALIN_LOCALE_FROM_PROGRAM="${locale_from_program}/")
foreach(language IN LISTS CORVALIN_LANGUAGES)
    install(FILES ${CORVALIN_LOCALE_DIR}/${language}/LC_MESSAGES/corvalin.mo
            DESTINATION share/locale/${language}/LC_MESSAGES)
endforeach()
install(TARGETS corvalin-dat RUNTIME DESTINATION bin)

# The sealed decoder is a private, architecture-dependent program, started by the game and the
# tool alone. They find it from their own folders, which are siblings, so one relative path
# serves both.
include(GNUInstallDirs)
set(CORVALIN_MODULE_FOLDER ${CMAKE_INSTALL_FULL_LIBDIR}/corvalin)
install(TARGETS corvalin-decode corvalin-decode-all RUNTIME DESTINATION ${CORVALIN_MODULE_FOLDER})
file(RELATIVE_PATH modules_from_program "${CMAKE_INSTALL_PREFIX}/${CORVALIN_GAMES_FOLDER}"
     "${CORVALIN_MODULE_FOLDER}")
file(RELATIVE_PATH modules_from_tool "${CMAKE_INSTALL_PREFIX}/bin" "${CORVALIN_MODULE_FOLDER}")
if(NOT modules_from_program STREQUAL modules_from_tool)
    message(FATAL_ERROR "The game and corvalin-dat would need different paths to the decoder")
endif()
target_compile_definitions(corvalin_core PRIVATE
    CORVALIN_MODULES_FROM_PROGRAM="${modules_from_program}/")
list(TRANSFORM CORVALIN_SKIN_LANGUAGE_PACKAGES PREPEND ${CORVALIN_STAGED_ASSETS_DIR}/
     OUTPUT_VARIABLE language_packages)
install(FILES ${CORVALIN_STAGED_ASSETS_DIR}/Skin.dat ${CORVALIN_STAGED_ASSETS_DIR}/Skin@2x.dat
              ${language_packages} ${CORVALIN_STAGED_ASSETS_DIR}/Pic.dat
        DESTINATION ${CORVALIN_DATA_FOLDER})

# Filled in at install time: the translated entry is made by the build.
install(CODE "
    set(CORVALIN_DESKTOP_EXEC \"${CMAKE_INSTALL_PREFIX}/${CORVALIN_GAMES_FOLDER}/corvalin\")
    configure_file(\"${CORVALIN_DESKTOP_TEMPLATE}\"
                   \"${CMAKE_BINARY_DIR}/install/${CORVALIN_APP_ID}.desktop\" @ONLY)
")
install(FILES ${CMAKE_BINARY_DIR}/install/${CORVALIN_APP_ID}.desktop
        DESTINATION share/applications)
foreach(size IN LISTS CORVALIN_ICON_SIZES)
    install(FILES ${CORVALIN_STAGED_ASSETS_DIR}/corvalin-${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${CORVALIN_APP_ID}.png)
endforeach()
install(FILES ${CORVALIN_METAINFO} DESTINATION share/metainfo)
