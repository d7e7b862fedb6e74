#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

// Sealing the calling process for good before it touches bytes from outside: from then on it
// may compute, allocate up to a limit, start threads, read its standard input, write its
// standard output and error, and exit. Anything else (opening a file, a socket, starting a
// program, mapping executable memory) kills it. Whatever it loads must be loaded before.

struct SealLimits {
    std::uint64_t memoryBytes = 0;  // more data memory than it holds at sealing time (and
                                    // twice that more address space)
    unsigned cpuSeconds = 0;        // processor time of all its threads together
};

// Empty when sealed; otherwise what could not be set up, and the process must not go on. Limits
// the caller set lower stay. A standard error that is a file, which a sealed process may not
// grow, is told so and then moved to /dev/null.
std::string SealProcess(const SealLimits& limits);

// Makes the calling process end (SIGKILL) when the thread that started it ends, so that it never
// outlives its caller. False when the caller is no longer its parent, having ended already; a
// caller of 0 is whichever process is the parent now. Call before SealProcess.
bool EndWithCaller(pid_t caller);
