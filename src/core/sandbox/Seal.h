#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

// Sealing the calling process for good before it touches bytes from outside: from then on it
// may compute, allocate up to a limit, start a bounded number of threads, read its standard
// input, write its standard output and error, and exit. Anything else (opening a file, a socket,
// starting a program, mapping executable memory) kills it. Whatever it loads must be loaded before.

struct SealLimits {
    std::uint64_t memoryBytes = 0;  // more data memory than it holds at sealing time (and
                                    // twice that more address space)
    unsigned cpuSeconds = 0;        // processor time of all its threads together
    unsigned threads = 0;           // more threads than its user runs at sealing time
};

// Gives up for good every privilege the process was started with: every capability, those of
// the bounding set too; a process of root becomes the kernel's nobody (its overflow user and
// group), for the kernel holds no user id 0 to a thread bound. Call while the process has one
// thread (capabilities are a thread's own), before EndWithCaller, whose tie a change of user
// undoes. Empty when done, otherwise what could not be given up.
std::string DropPrivileges();

// Empty when sealed; otherwise what could not be set up, and the process must not go on: among
// that, a process that still holds a privilege (see DropPrivileges). Limits the caller set
// lower stay. A standard error that is a file, which a sealed process may not
// grow, is told so and then moved to /dev/null.
std::string SealProcess(const SealLimits& limits);

// Makes the calling process end (SIGKILL) when the thread that started it ends, so that it never
// outlives its caller. False when the caller is no longer its parent, having ended already; a
// caller of 0 is whichever process is the parent now. Call before SealProcess.
bool EndWithCaller(pid_t caller);
