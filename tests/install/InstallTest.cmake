# cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DAPP_ID=... -P InstallTest.cmake
# Every failed check is collected; the build's own install manifest is put back before the end.
set(failures "")
macro(fail message)
    list(APPEND failures "${message}")
endmacro()

set(manifest "${BUILD_DIR}/install_manifest.txt")
set(saved_manifest "${BUILD_DIR}/install-test/install_manifest.saved")

function(restore_manifest)
    file(REMOVE "${manifest}")
    if(EXISTS "${saved_manifest}")
        file(RENAME "${saved_manifest}" "${manifest}")
    endif()
endfunction()

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output
                    ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        restore_manifest()
        message(FATAL_ERROR "${ARGN} failed:\n${output}")
    endif()
endfunction()

file(REMOVE_RECURSE "${BUILD_DIR}/install-test")
file(MAKE_DIRECTORY "${BUILD_DIR}/install-test")
if(EXISTS "${manifest}")
    file(RENAME "${manifest}" "${saved_manifest}")
endif()

# A prefix with a space: the desktop entry must still name the program exactly.
set(prefix "${BUILD_DIR}/install-test/home of player/.local")
set(folder "${prefix}/share/corvalin")
set(desktop "${prefix}/share/applications/${APP_ID}.desktop")
# Every size of the icon theme a desktop asks for.
set(icons "")
foreach(size 16 22 24 32 48 64 128 256 512)
    list(APPEND icons "${prefix}/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png")
endforeach()
set(metainfo "${prefix}/share/metainfo/${APP_ID}.metainfo.xml")
set(install_command ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}")
set(uninstall_command ${CMAKE_COMMAND} -DMANIFEST=${manifest}
                      -P "${SOURCE_DIR}/cmake/Uninstall.cmake")

run(${install_command})
# The skin's pictures with words, beside Skin.dat for every language the catalogues list.
file(STRINGS "${SOURCE_DIR}/po/LINGUAS" linguas REGEX "^[^#]")
set(language_packages)
foreach(language IN LISTS linguas)
    string(STRIP "${language}" language)
    list(APPEND language_packages Skin.${language}.dat Skin@2x.${language}.dat)
endforeach()
foreach(file corvalin corvalin-dat corvalin-decode corvalin-decode-all Skin.dat Skin@2x.dat Pic.dat Score.dat
             ${language_packages})
    if(NOT EXISTS "${folder}/${file}" OR IS_DIRECTORY "${folder}/${file}")
        fail("the game's folder has no ${file}")
    endif()
endforeach()
# As the game reads them: each matches the installed skin.
execute_process(COMMAND "${folder}/corvalin-dat" check-skin "${folder}/Skin.dat"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    fail("the installed skin and its language packages do not match: ${output}")
endif()
foreach(file "${desktop}" ${icons} "${metainfo}")
    if(NOT EXISTS "${file}")
        fail("nothing installed at ${file}")
    endif()
endforeach()

file(STRINGS "${desktop}" exec_line REGEX "^Exec=")
if(NOT exec_line STREQUAL "Exec=\"${folder}/corvalin\"")
    fail("the desktop entry's ${exec_line} is not the installed program")
endif()
file(STRINGS "${desktop}" icon_line REGEX "^Icon=")
if(NOT icon_line STREQUAL "Icon=${APP_ID}")
    fail("the desktop entry's ${icon_line} is not the installed icon")
endif()

# The languages come along: the installed tool speaks German from the catalogues beside it, and
# the desktop entry and the metainfo carry the translations.
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=LANGUAGE --unset=LC_ALL LANG=de_DE.UTF-8
                        "${folder}/corvalin-dat" --help OUTPUT_VARIABLE help)
if(NOT help MATCHES "^Aufruf: corvalin-dat")
    fail("the installed corvalin-dat does not answer in German: ${help}")
endif()
file(STRINGS "${desktop}" german_comment REGEX "^Comment\\[de\\]=")
if(NOT german_comment)
    fail("the desktop entry has no German comment")
endif()
file(STRINGS "${metainfo}" japanese_summary REGEX "<summary xml:lang=\"ja\">")
if(NOT japanese_summary)
    fail("the metainfo has no Japanese summary")
endif()

# The manual pages, in English and translated into every language of the catalogues.
set(manuals "${prefix}/share/man/man6/corvalin.6" "${prefix}/share/man/man1/corvalin-dat.1")
foreach(language IN LISTS linguas)
    foreach(manual man6/corvalin.6 man1/corvalin-dat.1)
        set(page "${prefix}/share/man/${language}/${manual}")
        list(APPEND manuals "${page}")
        get_filename_component(name "${manual}" NAME)
        execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${page}"
                                "${SOURCE_DIR}/debian/${name}" RESULT_VARIABLE differs)
        if(NOT differs EQUAL 1)
            fail("no translated ${manual} installed for ${language}")
        endif()
    endforeach()
endforeach()
file(STRINGS "${prefix}/share/man/de/man6/corvalin.6" german_name REGEX "^\\.SH BEZEICHNUNG")
if(NOT german_name)
    fail("the German corvalin(6) is not in German")
endif()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
    execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} "${desktop}"
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0 OR NOT output STREQUAL "")
        fail("desktop-file-validate finds fault with the desktop entry: ${output}")
    endif()
else()
    message(STATUS "desktop-file-validate is not installed; the desktop entry is not validated")
endif()
find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
    execute_process(COMMAND ${APPSTREAMCLI} validate --no-net "${metainfo}"
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        fail("appstreamcli finds fault with the AppStream file: ${output}")
    endif()
else()
    message(STATUS "appstreamcli is not installed; the AppStream file is not validated")
endif()

# Installing again over a player's files keeps them, and puts back the program's own.
file(WRITE "${folder}/Pic.dat" "the player's pictures")
file(WRITE "${folder}/Score.dat" "the player's scores")
file(WRITE "${folder}/Skin.dat" "a damaged skin")
run(${install_command})
file(READ "${folder}/Pic.dat" pictures)
file(READ "${folder}/Score.dat" scores)
if(NOT pictures STREQUAL "the player's pictures")
    fail("reinstalling overwrote the player's Pic.dat")
endif()
if(NOT scores STREQUAL "the player's scores")
    fail("reinstalling overwrote the player's Score.dat")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${folder}/Skin.dat"
                        "${BUILD_DIR}/assets/Skin.dat" RESULT_VARIABLE skin_differs)
if(NOT skin_differs EQUAL 0)
    fail("reinstalling did not put back the game's Skin.dat")
endif()

# Uninstalling removes everything but the player's files; the folder goes once they are gone.
run(${uninstall_command})
foreach(file "${folder}/corvalin" "${folder}/corvalin-dat" "${folder}/corvalin-decode"
             "${folder}/corvalin-decode-all"
             "${folder}/Skin.dat" "${folder}/Skin@2x.dat" "${folder}/Skin.de.dat" "${folder}/locale"
             "${desktop}"
             ${icons} "${metainfo}" ${manuals})
    if(EXISTS "${file}")
        fail("uninstalling left ${file}")
    endif()
endforeach()
foreach(file Pic.dat Score.dat)
    if(NOT EXISTS "${folder}/${file}")
        fail("uninstalling removed the player's ${file}")
    endif()
endforeach()
file(REMOVE "${folder}/Pic.dat" "${folder}/Score.dat")
run(${uninstall_command})
if(EXISTS "${folder}")
    fail("uninstalling left the empty folder ${folder}")
endif()

restore_manifest()
file(REMOVE_RECURSE "${BUILD_DIR}/install-test")
if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "Install checks failed:\n  ${text}")
endif()
