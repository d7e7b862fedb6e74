# Puts the staged files beside the program (cmake -DSTAGE=dir -DBIN=dir -P this).
# Skin.dat, Skin@2x.dat and the language packages belong to the program and follow the
# generator; Pic.dat and Score.dat belong to the player once they exist and are never
# overwritten.
cmake_minimum_required(VERSION 3.25)
file(MAKE_DIRECTORY "${BIN}")
file(GLOB staged_skins RELATIVE "${STAGE}" "${STAGE}/Skin*.dat")
foreach(name IN LISTS staged_skins)
    file(COPY_FILE "${STAGE}/${name}" "${BIN}/${name}" ONLY_IF_DIFFERENT)
endforeach()
# A language no longer built leaves no package behind.
file(GLOB laid_skins RELATIVE "${BIN}" "${BIN}/Skin.*.dat" "${BIN}/Skin@2x.*.dat")
foreach(name IN LISTS laid_skins)
    if(NOT name IN_LIST staged_skins)
        file(REMOVE "${BIN}/${name}")
    endif()
endforeach()
foreach(name Pic.dat Score.dat)
    if(NOT EXISTS "${BIN}/${name}")
        file(COPY_FILE "${STAGE}/${name}" "${BIN}/${name}")
        message(STATUS "Laid down ${BIN}/${name}")
    endif()
endforeach()
