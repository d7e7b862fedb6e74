# The programs answer --help in the player's language, from the catalogues beside them, also
# where that locale is not installed (as on a fresh machine); the plain C locale stays English
# byte for byte, whatever LANGUAGE asks.
# Run as: cmake -DGAME=<corvalin> -DTOOL=<corvalin-dat> -P <this file>
cmake_minimum_required(VERSION 3.25)

function(expect_help program starts_with)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=LC_ALL --unset=LC_MESSAGES
                            --unset=LANGUAGE ${ARGN} ${program} --help
                    OUTPUT_VARIABLE output RESULT_VARIABLE status)
    string(FIND "${output}" "${starts_with}" at)
    if(NOT status EQUAL 0 OR NOT at EQUAL 0)
        message(FATAL_ERROR "${ARGN} ${program} --help does not begin with '${starts_with}':\n"
                            "${output}")
    endif()
endfunction()

expect_help(${TOOL} "Aufruf: corvalin-dat BEFEHL" LANG=de_DE.UTF-8)
expect_help(${TOOL} "utilisation : corvalin-dat COMMANDE" LANG=fr_FR.UTF-8)
expect_help(${TOOL} "użycie: corvalin-dat POLECENIE" LANG=en_GB.UTF-8 LANGUAGE=pl:de)
expect_help(${GAME} "使い方: corvalin [--help | --version]" LANG=ja_JP.UTF-8 LANGUAGE=ja)
expect_help(${GAME} "使い方: corvalin" LANG=C.UTF-8 LANGUAGE=ja)
expect_help(${GAME} "用法：corvalin" LANG=zh_TW.UTF-8)
expect_help(${GAME} "Использование: corvalin" LC_ALL=ru_RU.UTF-8 LANG=de_DE.UTF-8)
expect_help(${GAME} "Usage: corvalin [--help | --version]\nA sliding-tile picture puzzle."
            LANG=C LANGUAGE=de)
expect_help(${TOOL} "usage: corvalin-dat COMMAND ...\n  list PACKAGE " LANG=C LANGUAGE=fr)
expect_help(${TOOL} "usage: corvalin-dat COMMAND" LANG=eo.UTF-8)
