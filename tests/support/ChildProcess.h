#pragma once

// Code run in a child process, for what a test must not do to itself: drop root, be killed.

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace test {

inline constexpr uid_t kNobody = 65534;

// Runs body in a child process; its exit status (3 when it threw), or 128 + signal.
inline int InChild(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        int status = 1;
        try {
            status = body();
        } catch (...) {
            status = 3;
        }
        ::_exit(status);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// For a child of root: becomes nobody, a player who owns none of the test's files. False when
// that failed.
inline bool BecomeNobody() { return ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0; }

}  // namespace test
