# Translates one manual page with po4a-translate and lets groff break its Chinese or Japanese
# lines (CjkManualBreaks.pl). Says what po4a says, but not that po4a-translate is deprecated
# (in favour of po4a(1), which would also rewrite the catalogues).
# Run as: cmake -DPO4A_TRANSLATE=... -DPERL=... -DMASTER=<page> -DPO=<catalogue>
#         -DOUTPUT=<translated page> -P <this file>
cmake_minimum_required(VERSION 3.25)
execute_process(
    COMMAND ${PO4A_TRANSLATE} --format man --master-charset UTF-8 --localized-charset UTF-8
            --keep 0 --master ${MASTER} --po ${PO} --localized ${OUTPUT}.po4a
    RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE said)
string(REGEX REPLACE "po4a-translate is deprecated[^\n]*\n?" "" said "${said}")
if(NOT status EQUAL 0)
    message(FATAL_ERROR "po4a-translate failed on ${MASTER} with ${PO}:\n${said}")
elseif(NOT said STREQUAL "")
    message(WARNING "${said}")
endif()
execute_process(
    COMMAND ${PERL} ${CMAKE_CURRENT_LIST_DIR}/CjkManualBreaks.pl ${OUTPUT}.po4a ${OUTPUT}
    COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${OUTPUT}.po4a)
