# Every translated manual page sets without a warning from groff, as lintian and man --warnings
# see it: a translation that breaks the markup, or a line groff cannot break, fails.
# Run as: cmake -DGROFF=<groff> -DMANUALS=<folder of LANGUAGE/page> -P <this file>
cmake_minimum_required(VERSION 3.25)
file(GLOB pages "${MANUALS}/*/*.[0-9]")
if(NOT pages)
    message(FATAL_ERROR "no translated manual pages in ${MANUALS}")
endif()
set(faults "")
foreach(page IN LISTS pages)
    execute_process(COMMAND ${GROFF} -k -man -Tutf8 -wmac -ww -z ${page}
                    RESULT_VARIABLE status ERROR_VARIABLE warnings)
    if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
        string(APPEND faults "${page}:\n${warnings}")
    endif()
endforeach()
if(faults)
    message(FATAL_ERROR "groff finds fault with translated manual pages:\n${faults}")
endif()
