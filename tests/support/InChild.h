#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace test {

// Runs body in a child process; its exit status, or 128 + the signal that ended it.
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

}  // namespace test
