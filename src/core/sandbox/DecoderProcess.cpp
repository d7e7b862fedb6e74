#include "core/sandbox/DecoderProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "core/io/Descriptor.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kAskEvery{50};
constexpr std::size_t kReadChunk = 64 * 1024;

class SpawnSetup {
public:
    SpawnSetup() {
        ::posix_spawn_file_actions_init(&m_actions);
        ::posix_spawnattr_init(&m_attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
    ~SpawnSetup() {
        ::posix_spawnattr_destroy(&m_attributes);
        ::posix_spawn_file_actions_destroy(&m_actions);
    }

    // The child's descriptors: input as 0, output as 1, /dev/null as 2, nothing else; every
    // signal at its default and none blocked, whatever the game set for itself.
    bool Prepare(int input, int output) {
        sigset_t none;
        sigset_t all;
        ::sigemptyset(&none);
        ::sigfillset(&all);
        return ::posix_spawn_file_actions_adddup2(&m_actions, input, STDIN_FILENO) == 0 &&
               ::posix_spawn_file_actions_adddup2(&m_actions, output, STDOUT_FILENO) == 0 &&
               ::posix_spawn_file_actions_addopen(&m_actions, STDERR_FILENO, "/dev/null", O_WRONLY,
                                                  0) == 0 &&
               ::posix_spawn_file_actions_addclosefrom_np(&m_actions, STDERR_FILENO + 1) == 0 &&
               ::posix_spawnattr_setsigmask(&m_attributes, &none) == 0 &&
               ::posix_spawnattr_setsigdefault(&m_attributes, &all) == 0 &&
               ::posix_spawnattr_setflags(&m_attributes,
                                          POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) == 0;
    }

    pid_t Spawn(const std::string& program) {
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        pid_t pid = -1;
        if (::posix_spawn(&pid, program.c_str(), &m_actions, &m_attributes, argv, environ) != 0)
            return -1;
        return pid;
    }

private:
    posix_spawn_file_actions_t m_actions{};
    posix_spawnattr_t m_attributes{};
};

int Reap(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

DecoderRun Killed(pid_t pid, DecoderRun::End end, DecoderRun run) {
    ::kill(pid, SIGKILL);
    Reap(pid);
    run.end = end;
    run.output.clear();
    return run;
}

DecoderRun Ended(int status, DecoderRun run) {
    if (WIFEXITED(status)) {
        run.end = DecoderRun::End::Exited;
        run.status = WEXITSTATUS(status);
    } else {
        run.end = DecoderRun::End::Died;
        run.status = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    }
    return run;
}

}  // namespace

DecoderRun RunDecoder(const std::string& program, int input, const DecoderLimits& limits,
                      const std::function<bool()>& keepGoing) {
    std::array<int, 2> pipe{-1, -1};
    if (::pipe2(pipe.data(), O_CLOEXEC) != 0) return {};
    const Descriptor readEnd(pipe[0]);
    Descriptor writeEnd(pipe[1]);
    SpawnSetup setup;
    if (!setup.Prepare(input, writeEnd.Get())) return {};
    const pid_t pid = setup.Spawn(program);
    ::close(writeEnd.Release());  // the child's copy alone keeps the pipe open
    if (pid < 0) return {};

    const Clock::time_point deadline = Clock::now() + limits.timeLimit;
    Clock::time_point asked = Clock::now() - kAskEvery;  // asked at once, then every 50 ms
    DecoderRun run;
    std::vector<std::uint8_t> chunk(kReadChunk);
    bool open = true;
    int status = 0;
    for (;;) {
        const Clock::time_point now = Clock::now();
        if (now >= deadline) return Killed(pid, DecoderRun::End::TimedOut, std::move(run));
        if (keepGoing && now - asked >= kAskEvery) {
            asked = now;
            if (!keepGoing()) return Killed(pid, DecoderRun::End::Cancelled, std::move(run));
        }
        const auto wait = std::min<Clock::duration>(kAskEvery, deadline - now);
        const int waitMs =
            static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count());
        if (!open) {
            // The output has ended; the process has still to end by itself, in time.
            const pid_t ended = ::waitpid(pid, &status, WNOHANG);
            if (ended == pid) return Ended(status, std::move(run));
            ::poll(nullptr, 0, std::min(waitMs, 1));
            continue;
        }
        pollfd ready{readEnd.Get(), POLLIN, 0};
        if (::poll(&ready, 1, waitMs) <= 0) continue;
        const ssize_t count = ::read(readEnd.Get(), chunk.data(), chunk.size());
        if (count < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (count <= 0) {
            open = false;
            continue;
        }
        if (run.output.size() + static_cast<std::size_t>(count) > limits.maxOutput)
            return Killed(pid, DecoderRun::End::TooLong, std::move(run));
        run.output.insert(run.output.end(), chunk.begin(), chunk.begin() + count);
    }
}
