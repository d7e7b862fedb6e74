#include "core/sandbox/DecoderProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
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

// Everything the supervisor needs to start the decoder, made before it is forked: a child of a
// process with threads may not allocate.
class SpawnSetup {
public:
    explicit SpawnSetup(const std::string& program)
        : m_arguments{program, kCallerOption + std::string(kCallerDigits, '0')},
          m_environment(DecoderEnvironment()) {
        ::posix_spawn_file_actions_init(&m_actions);
        ::posix_spawnattr_init(&m_attributes);
        m_argumentPointers = Pointers(m_arguments);
        m_environmentPointers = Pointers(m_environment);
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

    // Starts the decoder as the child of caller, the process calling this; -1 when it cannot.
    pid_t Spawn(pid_t caller) {
        // The caller's id in place of the zeros, which the decoder reads past.
        char* digit = m_arguments[1].data() + m_arguments[1].size();
        for (int i = 0; i < kCallerDigits; ++i, caller /= 10)
            *--digit = static_cast<char>('0' + caller % 10);
        pid_t pid = -1;
        if (::posix_spawn(&pid, m_arguments[0].c_str(), &m_actions, &m_attributes,
                          m_argumentPointers.data(), m_environmentPointers.data()) != 0)
            return -1;
        return pid;
    }

private:
    static constexpr int kCallerDigits = 10;  // any process id

    std::vector<std::string> m_arguments;
    std::vector<std::string> m_environment;
    std::vector<char*> m_argumentPointers;
    std::vector<char*> m_environmentPointers;
    posix_spawn_file_actions_t m_actions{};
    posix_spawnattr_t m_attributes{};
};

// What the supervisor reports in place of a status when the decoder could not be started.
constexpr int kNotStartedStatus = -1;

// Ends every process that has come to the supervisor: the decoder's leftovers, which the
// kernel hands to it (a child subreaper) once their parents have gone, however far they went
// from the decoder's group. Only what may be called in a forked child: nothing allocates.
void EndEveryChild() {
    for (;;) {
        char listed[4096];
        ssize_t count = -1;
        const int children = ::open("/proc/thread-self/children", O_RDONLY | O_CLOEXEC);
        if (children >= 0) {
            count = ::read(children, listed, sizeof listed);
            ::close(children);
        }
        bool killed = false;
        pid_t pid = 0;
        for (ssize_t i = 0; i < count; ++i) {
            if (listed[i] >= '0' && listed[i] <= '9') {
                pid = pid * 10 + (listed[i] - '0');
                continue;
            }
            if (pid > 0) killed = ::kill(pid, SIGKILL) == 0 || killed;
            pid = 0;
        }
        // Reaps one at least, and never waits for a child that cannot be seen to be killed.
        if (::waitpid(-1, nullptr, killed ? 0 : WNOHANG) <= 0 && (!killed || errno == ECHILD))
            return;
    }
}

// The supervising process, forked from the caller: starts the decoder in a group of its own,
// takes in whatever the decoder leaves behind, and once the decoder has ended, or SIGTERM says
// stop (from the caller, or at the caller's end), ends the decoder's group and everything that
// came to it, reports the decoder's status (waitpid's) on report, and ends.
[[noreturn]] void Supervise(SpawnSetup& setup, pid_t caller, int report) {
    // Every signal came blocked from the fork, so that no handler of the caller's runs here;
    // these two are waited for.
    sigset_t wakes;
    ::sigemptyset(&wakes);
    ::sigaddset(&wakes, SIGTERM);
    ::sigaddset(&wakes, SIGCHLD);
    if (::prctl(PR_SET_PDEATHSIG, SIGTERM, 0, 0, 0) != 0 || ::getppid() != caller ||
        ::prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0) != 0)
        ::_exit(1);
    int status = kNotStartedStatus;
    const pid_t decoder = setup.Spawn(::getpid());
    // It keeps no descriptor but its report: the answer's pipe ends with the decoder's group.
    ::close_range(STDERR_FILENO + 1, static_cast<unsigned>(report) - 1, 0);
    ::close_range(static_cast<unsigned>(report) + 1, ~0u, 0);
    if (decoder > 0) {
        for (;;) {
            siginfo_t woken{};
            if (::sigwaitinfo(&wakes, &woken) == SIGTERM) break;
            siginfo_t ended{};
            if (::waitid(P_PID, static_cast<id_t>(decoder), &ended, WEXITED | WNOHANG | WNOWAIT) ==
                    0 &&
                ended.si_pid == decoder)
                break;
        }
        // Its group while its id is still its own, unreaped.
        ::kill(-decoder, SIGKILL);
        ::waitpid(decoder, &status, 0);
        EndEveryChild();
    }
    (void)!::write(report, &status, sizeof status);
    ::_exit(0);
}

// Tells of the supervisor's end through a pipe, from a thread asleep in waitid until then: no
// wake-up while it works. (A pidfd would do the same without a thread, but valgrind, under
// which the game's tests run, knows none.) The supervisor is left unreaped, so that it can
// still be told to stop by its id; the thread ends once it is reaped or has ended.
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
    // Only once the supervisor has ended or been reaped.
    ~EndWatch() {
        if (m_thread.joinable()) m_thread.join();
        if (m_ended >= 0) ::close(m_ended);
    }

    // Readable once the supervisor has ended; -1 when no watch could be set.
    int Ended() const { return m_ended; }

private:
    int m_ended = -1;
    std::thread m_thread;
};

// Has the supervisor end the decoder and all it left behind, and reaps it; the decoder's
// status as reported on report, or kNotStartedStatus.
int EndSupervised(pid_t supervisor, int report) {
    ::kill(supervisor, SIGTERM);
    while (::waitpid(supervisor, nullptr, 0) < 0 && errno == EINTR) {
    }
    int status = kNotStartedStatus;
    if (::read(report, &status, sizeof status) != sizeof status) status = kNotStartedStatus;
    return status;
}

DecoderRun Killed(pid_t supervisor, int report, DecoderRun::End end, DecoderRun run) {
    EndSupervised(supervisor, report);
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
    std::array<int, 2> reportPipe{-1, -1};
    if (::pipe2(pipe.data(), O_CLOEXEC) != 0) return {};
    const Descriptor readEnd(pipe[0]);
    Descriptor writeEnd(pipe[1]);
    if (::pipe2(reportPipe.data(), O_CLOEXEC) != 0) return {};
    const Descriptor report(reportPipe[0]);
    Descriptor reportWriteEnd(reportPipe[1]);
    SpawnSetup setup(program);
    if (!setup.Prepare(input, writeEnd.Get())) return {};
    const pid_t caller = ::getpid();
    sigset_t all;
    sigset_t before;
    ::sigfillset(&all);
    ::pthread_sigmask(SIG_BLOCK, &all, &before);
    const pid_t supervisor = ::fork();
    if (supervisor == 0) Supervise(setup, caller, reportWriteEnd.Get());
    ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
    ::close(writeEnd.Release());  // the decoder's copy alone keeps the pipe open
    ::close(reportWriteEnd.Release());
    if (supervisor < 0) return {};
    const EndWatch watch(supervisor);
    if (watch.Ended() < 0) return Killed(supervisor, report.Get(), DecoderRun::End::NotStarted, {});

    const Clock::time_point deadline = Clock::now() + limits.timeLimit;
    Clock::time_point asked = Clock::now() - kAskEvery;  // asked at once, then every 50 ms
    DecoderRun run;
    std::vector<std::uint8_t> chunk(kReadChunk);
    bool open = true;
    for (;;) {
        const Clock::time_point now = Clock::now();
        if (now >= deadline)
            return Killed(supervisor, report.Get(), DecoderRun::End::TimedOut, std::move(run));
        if (keepGoing && now - asked >= kAskEvery) {
            asked = now;
            if (!keepGoing())
                return Killed(supervisor, report.Get(), DecoderRun::End::Cancelled, std::move(run));
        }
        const auto wait =
            keepGoing ? std::min<Clock::duration>(kAskEvery, deadline - now) : deadline - now;
        std::array<pollfd, 2> ready{pollfd{watch.Ended(), POLLIN, 0},
                                    pollfd{open ? readEnd.Get() : -1, POLLIN, 0}};
        const auto waitMs = std::chrono::ceil<std::chrono::milliseconds>(wait).count();
        if (::poll(ready.data(), ready.size(), static_cast<int>(waitMs)) <= 0) continue;
        // Ended, the decoder has written all it wrote: what is still in the pipe is taken
        // without waiting for its end, which anything left out of the supervisor's reach could
        // hold open.
        const bool ended = ready[0].revents != 0;
        if (ended) ::fcntl(readEnd.Get(), F_SETFL, O_NONBLOCK);
        if (ready[1].revents != 0 || (ended && open)) {
            for (;;) {
                const ssize_t count = ::read(readEnd.Get(), chunk.data(), chunk.size());
                if (count < 0 && errno == EINTR) continue;
                if (count <= 0) {
                    open = open && count < 0;
                    break;
                }
                if (run.output.size() + static_cast<std::size_t>(count) > limits.maxOutput)
                    return Killed(supervisor, report.Get(), DecoderRun::End::TooLong,
                                  std::move(run));
                run.output.insert(run.output.end(), chunk.begin(), chunk.begin() + count);
                if (!ended) break;
            }
        }
        if (ended) {
            const int status = EndSupervised(supervisor, report.Get());
            if (status == kNotStartedStatus) return {};
            return Ended(status, std::move(run));
        }
    }
}
