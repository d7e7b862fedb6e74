# Runs the lay-down step over a staged set and a program directory that already holds
# the player's pictures: Skin.dat must be refreshed, Pic.dat kept, a missing Score.dat
# laid down. Run as: cmake -DSCRIPT=<LayDownAssets.cmake> -DWORK=<scratch dir> -P this
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${WORK}")
set(stage "${WORK}/stage")
set(bin "${WORK}/bin")
file(WRITE "${stage}/Skin.dat" "skin from the generator")
file(WRITE "${stage}/Skin@2x.dat" "2x skin from the generator")
file(WRITE "${stage}/Pic.dat" "pictures from the generator")
file(WRITE "${stage}/Score.dat" "empty scores")
file(WRITE "${bin}/Skin.dat" "skin from an older build")
file(WRITE "${bin}/Pic.dat" "the player's pictures")

foreach(run 1 2)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -DSTAGE=${stage} -DBIN=${bin} -P ${SCRIPT}
        RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "lay-down failed on run ${run}: ${result}")
    endif()
    if(run EQUAL 1)
        file(WRITE "${bin}/Score.dat" "the player's scores")
    endif()
endforeach()

function(expect file text)
    file(READ "${bin}/${file}" actual)
    if(NOT actual STREQUAL text)
        message(FATAL_ERROR "${file} holds '${actual}', expected '${text}'")
    endif()
endfunction()
expect(Skin.dat "skin from the generator")
expect(Skin@2x.dat "2x skin from the generator")
expect(Pic.dat "the player's pictures")
expect(Score.dat "the player's scores")
file(REMOVE_RECURSE "${WORK}")
