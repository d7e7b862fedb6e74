# Puts the staged files beside the program (cmake -DSTAGE=dir -DBIN=dir -P this).
# Skin.dat and Skin@2x.dat belong to the program and follows the generator; Pic.dat and Score.dat
# belong to the player once they exist and are never overwritten.
cmake_minimum_required(VERSION 3.25)
file(MAKE_DIRECTORY "${BIN}")
foreach(name Skin.dat Skin@2x.dat)
    file(COPY_FILE "${STAGE}/${name}" "${BIN}/${name}" ONLY_IF_DIFFERENT)
endforeach()
foreach(name Pic.dat Score.dat)
    if(NOT EXISTS "${BIN}/${name}")
        file(COPY_FILE "${STAGE}/${name}" "${BIN}/${name}")
        message(STATUS "Laid down ${BIN}/${name}")
    endif()
endforeach()
