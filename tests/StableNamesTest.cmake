# Fails when a test's name holds GoogleTest's dump of a parameter's bytes, which can hold a
# pointer and so change from build to build: such a parameter needs a PrintTo.
# Run as: cmake -DBUILD=<build folder> -P StableNamesTest.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${CMAKE_CTEST_COMMAND} -N --test-dir "${BUILD}"
    OUTPUT_VARIABLE listing RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "ctest -N failed in ${BUILD}")
endif()
string(REGEX MATCHALL "[^\n]*-byte object <[^\n]*" unstable "${listing}")
if(unstable)
    list(JOIN unstable "\n" names)
    message(FATAL_ERROR "Test names made of a parameter's bytes:\n${names}")
endif()
