# Extracts every marked text of the sources (GLOBS under SOURCE) and of the desktop entry and
# the metainfo into the template OUTPUT; with MERGE, merges it into each of LANGUAGES' catalogues.
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
if(MERGE)
    foreach(language IN LISTS LANGUAGES)
        execute_process(
            COMMAND ${MSGMERGE} --quiet --update --backup=none --no-fuzzy-matching
                    ${SOURCE}/po/${language}.po ${OUTPUT}
            COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
endif()
