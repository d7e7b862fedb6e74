# Extracts every marked text of the sources (GLOBS under SOURCE), of the desktop entry and the
# metainfo, and every paragraph of the manual pages (MANUALS, through po4a) into the template
# OUTPUT; with MERGE, merges it into each of LANGUAGES' catalogues.
list(TRANSFORM GLOBS PREPEND ${SOURCE}/)
file(GLOB_RECURSE sources RELATIVE ${SOURCE} LIST_DIRECTORIES false ${GLOBS})
list(FILTER sources EXCLUDE REGEX "^src/core/picture/|^src/core/sandbox/|^src/decoder/")
list(SORT sources)
set(data data/example.corvalin.corvalin.desktop.in data/example.corvalin.corvalin.metainfo.xml)
execute_process(
    COMMAND ${XGETTEXT} ${OPTIONS} --output=${OUTPUT} ${sources}
    COMMAND_ERROR_IS_FATAL ANY WORKING_DIRECTORY ${SOURCE})
execute_process(
    COMMAND ${XGETTEXT} --join-existing --output=${OUTPUT} --language=Desktop
            --keyword= --keyword=Name --keyword=GenericName --keyword=Comment --keyword=Keywords
            data/example.corvalin.corvalin.desktop.in
    COMMAND_ERROR_IS_FATAL ANY WORKING_DIRECTORY ${SOURCE})
execute_process(
    COMMAND ${XGETTEXT} --join-existing --output=${OUTPUT}
            data/example.corvalin.corvalin.metainfo.xml
    COMMAND_ERROR_IS_FATAL ANY WORKING_DIRECTORY ${SOURCE})
# po4a makes a template of its own; msgcat adds its texts, keeping the sources' header.
set(manual_texts ${OUTPUT}.manuals)
file(REMOVE ${manual_texts})
set(masters ${MANUALS})
list(TRANSFORM masters PREPEND "-m;")
# (It says it is deprecated, in favour of po4a(1), which would merge the catalogues with the
# manuals' texts alone.)
execute_process(
    COMMAND ${PO4A_UPDATEPO} --format man --master-charset UTF-8 ${masters} --po ${manual_texts}
    WORKING_DIRECTORY ${SOURCE} RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE said)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "po4a-updatepo failed: ${said}")
endif()
execute_process(
    COMMAND ${MSGCAT} --use-first --output-file=${OUTPUT} ${OUTPUT} ${manual_texts}
    COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${manual_texts})
if(MERGE)
    foreach(language IN LISTS LANGUAGES)
        execute_process(
            COMMAND ${MSGMERGE} --quiet --update --backup=none --no-fuzzy-matching
                    ${SOURCE}/po/${language}.po ${OUTPUT}
            COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
endif()
