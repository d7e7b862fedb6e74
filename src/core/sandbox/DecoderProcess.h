#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Runs the sealed decoder for one file and collects what it says. The decoder is a program of
// our own that seals itself before it reads its input; whatever it does after that, the caller
// only ever sees bytes and how the process ended.

struct DecoderRun {
    enum class End {
        Exited,      // it ended by itself; status is its exit code
        Died,        // a signal ended it (a crash, a limit, the seal); status is the signal
        TimedOut,    // it took longer than the time allowed and was killed
        TooLong,     // it wrote more than the most allowed and was killed
        Cancelled,   // keepGoing said stop and it was killed
        NotStarted,  // the program could not be started
    };

    End end = End::NotStarted;
    int status = 0;
    std::vector<std::uint8_t> output;  // its standard output, at most maxOutput bytes

    bool ExitedCleanly() const { return end == End::Exited && status == 0; }
};

struct DecoderLimits {
    std::size_t maxOutput = 0;            // more bytes than this end the run as TooLong
    std::chrono::milliseconds timeLimit;  // from the start to its exit
};

// The one argument the decoder is started with: its caller's process id, with which it ends.
inline constexpr char kCallerOption[] = "--caller=";

// The caller named on the decoder's command line, or 0 when none is (run by hand).
pid_t CallerOf(int argc, char** argv);

// Starts program (an absolute path; anything else is NotStarted) with input (an open file, read
// from its current position) as its standard input, its standard output on a pipe read here,
// its standard error on /dev/null, no other descriptor and no environment variable of ours, in
// a process group of its own, under a small supervising process that takes in whatever the
// decoder leaves behind, even outside its group; waits until it exits, is killed for a limit,
// or keepGoing (asked about every 50 ms; may be empty) returns false. Whatever ends the run
// ends the decoder's group and every process it left, and the decoder is always reaped before
// returning; once it has exited, what it wrote is taken without waiting for the pipe's end.
DecoderRun RunDecoder(const std::string& program, int input, const DecoderLimits& limits,
                      const std::function<bool()>& keepGoing);
