# Fails when a catalogue of po/LINGUAS lacks a translation of a text the sources mark or the
# manual pages hold, holds a
# fuzzy one, or one whose placeholders differ from the English: each catalogue is merged with a
# template freshly extracted from the sources, and the merge must pass msgfmt --check with
# nothing untranslated or fuzzy.
# Run as: cmake <ExtractTexts.cmake's arguments> -DBINARY=<scratch folder> -DMSGMERGE=...
#         -DMSGFMT=... -P <this file>
cmake_minimum_required(VERSION 3.25)
file(MAKE_DIRECTORY ${BINARY})
set(template ${BINARY}/fresh.pot)
set(OUTPUT ${template})
set(MERGE OFF)
include(${SOURCE}/cmake/ExtractTexts.cmake)

file(STRINGS ${SOURCE}/po/LINGUAS languages REGEX "^[^#]")
set(faults "")
foreach(language IN LISTS languages)
    set(merged ${BINARY}/${language}.po)
    execute_process(COMMAND ${MSGMERGE} --quiet --no-fuzzy-matching --output-file=${merged}
                            ${SOURCE}/po/${language}.po ${template}
                    RESULT_VARIABLE status ERROR_VARIABLE error)
    if(NOT status EQUAL 0)
        string(APPEND faults "${language}: msgmerge failed: ${error}\n")
        continue()
    endif()
    execute_process(COMMAND ${MSGFMT} --check --statistics --output-file=/dev/null ${merged}
                    RESULT_VARIABLE status ERROR_VARIABLE report)
    if(NOT status EQUAL 0 OR report MATCHES "untranslated|fuzzy")
        string(APPEND faults "${language}: ${report}")
    endif()
endforeach()
if(faults)
    message(FATAL_ERROR "Incomplete or faulty catalogues:\n${faults}")
endif()
