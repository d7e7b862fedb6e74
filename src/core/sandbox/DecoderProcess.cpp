#include "core/sandbox/DecoderProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <thread>

#include "core/io/Descriptor.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kAskEvery{50};
constexpr std::size_t kReadChunk = 64 * 1024;

// All the decoder learns of our environment: nothing of the player's session, which it could
// hide in the pixels it answers. A sanitizer's runtime in the decoder takes its options from
// there, so a sanitizer build passes on those alone.
std::vector<std::string> DecoderEnvironment() {
    std::vector<std::string> environment;
#if defined(__SANITIZE_ADDRESS__)
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
        if (const char* value = std::getenv(name))
            environment.push_back(std::string(name) + "=" + value);
    }
#endif
    return environment;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& string : strings) pointers.push_back(string.data());
    pointers.push_back(nullptr);
    return pointers;
}

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
    // signal at its default and none blocked, whatever the game set for itself; a process
    // group of its own, which the time limit ends whole.
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
               ::posix_spawnattr_setpgroup(&m_attributes, 0) == 0 &&
               ::posix_spawnattr_setflags(&m_attributes, POSIX_SPAWN_SETSIGMASK |
                                                             POSIX_SPAWN_SETSIGDEF |
                                                             POSIX_SPAWN_SETPGROUP) == 0;
    }

    pid_t Spawn(const std::string& program) {
        std::vector<std::string> arguments{program, kCallerOption + std::to_string(::getpid())};
        std::vector<std::string> environment = DecoderEnvironment();
        pid_t pid = -1;
        if (::posix_spawn(&pid, program.c_str(), &m_actions, &m_attributes,
                          Pointers(arguments).data(), Pointers(environment).data()) != 0)
            return -1;
        return pid;
    }

private:
    posix_spawn_file_actions_t m_actions{};
    posix_spawnattr_t m_attributes{};
};

// Tells of the decoder's end through a pipe, from a thread asleep in waitid until then: no
// wake-up while it works. (A pidfd would do the same without a thread, but valgrind, under
// which the game's tests run, knows none.) The decoder is left unreaped, so that its group can
// still be ended by its id; the thread ends once the decoder is reaped or has ended.
class EndWatch {
public:
    explicit EndWatch(pid_t pid) {
        std::array<int, 2> ends{-1, -1};
        if (::pipe2(ends.data(), O_CLOEXEC) != 0) return;
        try {
            m_thread = std::thread([pid, tell = ends[1]] {
                siginfo_t info{};
                while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) != 0 &&
                       errno == EINTR) {
                }
                ::close(tell);
            });
            m_ended = ends[0];
        } catch (const std::system_error&) {
            ::close(ends[0]);
            ::close(ends[1]);
        }
    }
    EndWatch(const EndWatch&) = delete;
    EndWatch& operator=(const EndWatch&) = delete;
    // Only once the decoder has ended or been reaped.
    ~EndWatch() {
        if (m_thread.joinable()) m_thread.join();
        if (m_ended >= 0) ::close(m_ended);
    }

    // Readable once the decoder has ended; -1 when no watch could be set.
    int Ended() const { return m_ended; }

private:
    int m_ended = -1;
    std::thread m_thread;
};

// Ends the decoder and whatever it started in its group, and reaps it; its status.
int EndGroup(pid_t pid) {
    ::kill(-pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

DecoderRun Killed(pid_t pid, DecoderRun::End end, DecoderRun run) {
    EndGroup(pid);
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

pid_t CallerOf(int argc, char** argv) {
    constexpr std::string_view option = kCallerOption;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument.starts_with(option))
            return static_cast<pid_t>(std::atol(argv[i] + option.size()));
    }
    return 0;
}

DecoderRun RunDecoder(const std::string& program, int input, const DecoderLimits& limits,
                      const std::function<bool()>& keepGoing) {
    // Never a name looked up in the current folder or the search path.
    if (!program.starts_with('/')) return {};
    std::array<int, 2> pipe{-1, -1};
    if (::pipe2(pipe.data(), O_CLOEXEC) != 0) return {};
    const Descriptor readEnd(pipe[0]);
    Descriptor writeEnd(pipe[1]);
    SpawnSetup setup;
    if (!setup.Prepare(input, writeEnd.Get())) return {};
    const pid_t pid = setup.Spawn(program);
    ::close(writeEnd.Release());  // the child's copy alone keeps the pipe open
    if (pid < 0) return {};
    const EndWatch watch(pid);
    if (watch.Ended() < 0) return Killed(pid, DecoderRun::End::NotStarted, {});

    const Clock::time_point deadline = Clock::now() + limits.timeLimit;
    Clock::time_point asked = Clock::now() - kAskEvery;  // asked at once, then every 50 ms
    DecoderRun run;
    std::vector<std::uint8_t> chunk(kReadChunk);
    bool open = true;
    bool ended = false;
    for (;;) {
        if (ended && !open) return Ended(EndGroup(pid), std::move(run));
        const Clock::time_point now = Clock::now();
        if (now >= deadline) return Killed(pid, DecoderRun::End::TimedOut, std::move(run));
        if (keepGoing && now - asked >= kAskEvery) {
            asked = now;
            if (!keepGoing()) return Killed(pid, DecoderRun::End::Cancelled, std::move(run));
        }
        const auto wait =
            keepGoing ? std::min<Clock::duration>(kAskEvery, deadline - now) : deadline - now;
        std::array<pollfd, 2> ready{pollfd{ended ? -1 : watch.Ended(), POLLIN, 0},
                                    pollfd{open ? readEnd.Get() : -1, POLLIN, 0}};
        const auto waitMs = std::chrono::ceil<std::chrono::milliseconds>(wait).count();
        if (::poll(ready.data(), ready.size(), static_cast<int>(waitMs)) <= 0) continue;
        if (ready[0].revents != 0 && !ended) {
            // Whatever it left behind in its group goes too, so that its output ends.
            ended = true;
            ::kill(-pid, SIGKILL);
        }
        if (ready[1].revents == 0) continue;
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
