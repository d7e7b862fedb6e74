#include <alloca.h>
#include <asm/unistd.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/futex.h>
#include <sched.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#include "core/sandbox/CLibrary.h"
#include "core/sandbox/Seal.h"
#include "support/ByteFiles.h"
#include "support/ChildProcess.h"
#include "support/DataFolder.h"

namespace {

constexpr int kSurvived = 0;
constexpr int kRefused = 42;
constexpr int kNotSealed = 99;
constexpr std::uint64_t kMemory = 256ull << 20;
// The address sanitizer's runtime makes calls of its own when a forked child starts its first
// thread; the decoder, which starts its threads before it seals itself, never meets them.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kThreadsAfterFork = false;
#else
constexpr bool kThreadsAfterFork = true;
#endif

constexpr unsigned kThreads = 6;

// A child sealed as the decoder seals itself, its privileges given up and the C library settled
// first, with a smaller memory limit.
int SealedHere(const std::function<int()>& attempt, std::uint64_t memory = kMemory) {
    SettleCLibrary();
    if (!DropPrivileges().empty() || !SealProcess({memory, 5, kThreads}).empty()) return kNotSealed;
    return attempt();
}

// SealedHere in a child; its exit status, or 128 + the signal that ended it.
int Sealed(const std::function<int()>& attempt, std::uint64_t memory = kMemory) {
    return test::InChild([&] { return SealedHere(attempt, memory); });
}

// The same with call made on a thread started before the seal, as the decoders' pools are, while
// the first thread waits for it: kSurvived when only that thread ended, or none.
int SealedOnAThread(void (*call)()) {
    return test::InChild([&] {
        if (!DropPrivileges().empty()) return kNotSealed;
        std::atomic<bool> sealed = false;
        std::thread worker([&] {
            sealed.wait(false);
            call();
        });
        const bool ok = SealProcess({kMemory, 5, kThreads}).empty();
        sealed = true;
        sealed.notify_one();
        worker.join();
        return ok ? kSurvived : kNotSealed;
    });
}

// Takes twice kMemory by a mapping of the given flags and touches every page.
int MapAndTouch(int flags) {
    void* memory = ::mmap(nullptr, 2 * kMemory, PROT_READ | PROT_WRITE, flags, -1, 0);
    if (memory == MAP_FAILED) return kRefused;
    std::memset(memory, 1, 2 * kMemory);
    return kSurvived;
}

TEST(SealTest, ASealedProcessComputesThreadsAndAnswersOnly) {
    EXPECT_EQ(Sealed([] {
                  int sum = 42;
                  if (kThreadsAfterFork) {
                      std::thread worker([&] { sum = 6 * 7; });
                      worker.join();
                  }
                  std::vector<char> memory(kMemory / 2, 1);  // within its limit
                  // clone3 is answered, so that the C library falls back to clone.
                  const bool noClone3 = ::syscall(SYS_clone3, nullptr, 0) == -1 && errno == ENOSYS;
                  // Its own processors and clocks, as the decoders ask for them.
                  cpu_set_t processors;
                  timespec now{};
                  const bool asks =
                      ::syscall(SYS_sched_getaffinity, 0, sizeof processors, &processors) > 0 &&
                      ::syscall(SYS_sched_getaffinity, ::getpid(), sizeof processors, &processors) >
                          0 &&
                      ::syscall(SYS_clock_gettime, CLOCK_MONOTONIC, &now) == 0 &&
                      ::syscall(SYS_clock_gettime, CLOCK_REALTIME, &now) == 0;
                  return sum == 42 && memory.back() == 1 && noClone3 && asks &&
                                 ::write(STDERR_FILENO, "", 0) == 0
                             ? kSurvived
                             : 2;
              }),
              kSurvived);
}

TEST(SealTest, AnythingElseEndsIt) {
    const int killed = 128 + SIGSYS;
    const pid_t parent = ::getpid();  // another process, asked after in the sealed child
    const struct {
        const char* name;
        std::function<int()> attempt;
    } cases[] = {
        {"opening a file", [] { return ::open("/etc/hostname", O_RDONLY) >= 0 ? 0 : 2; }},
        {"making a socket", [] { return ::socket(AF_UNIX, SOCK_STREAM, 0) >= 0 ? 0 : 2; }},
        {"starting a program",
         [] {
             char* argv[] = {const_cast<char*>("/bin/true"), nullptr};
             ::execv(argv[0], argv);
             return 2;
         }},
        {"starting a process", [] { return ::fork() >= 0 ? 0 : 2; }},
        {"mapping executable memory",
         [] {
             return ::mmap(nullptr, 4096, PROT_READ | PROT_EXEC, MAP_PRIVATE | MAP_ANONYMOUS, -1,
                           0) != MAP_FAILED
                        ? 0
                        : 2;
         }},
        {"making memory executable",
         [] {
             void* page =
                 ::mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
             return page != MAP_FAILED && ::mprotect(page, 4096, PROT_READ | PROT_EXEC) == 0 ? 0
                                                                                             : 2;
         }},
        {"writing anything but its output", [] { return ::write(3, "x", 1) >= 0 ? 0 : 2; }},
        {"reading another process's processor clock",
         [parent] {
             // The kernel's id of a process's processor clock: its id inverted, shifted, 2.
             const auto clock = static_cast<clockid_t>(~parent * 8 + 2);
             timespec used{};
             return ::syscall(SYS_clock_gettime, clock, &used) == 0 ? 0 : 2;
         }},
        {"starting a thread in a namespace of its own",
         [] { return ::syscall(SYS_clone, CLONE_THREAD | CLONE_NEWPID, 0, 0, 0, 0) >= 0 ? 0 : 2; }},
        {"locking a futex with priority inheritance",
         [] {
             static std::uint32_t word = 0;
             return ::syscall(SYS_futex, &word, FUTEX_LOCK_PI_PRIVATE, 0, nullptr) == 0 ? 0 : 2;
         }},
        {"advising the kernel on memory other than giving it back",
         [] {
             void* page =
                 ::mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
             return page != MAP_FAILED && ::madvise(page, 4096, MADV_MERGEABLE) == 0 ? 0 : 2;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Sealed(c.attempt), killed);
    }
}

// What the C library does of its own accord: worker threads' heaps grow and are given back (as
// libheif's threads do on tiled pictures), times are turned into dates, errors into words.
TEST(SealTest, TheSettledCLibraryMakesNoCallOfItsOwnWhenSealed) {
    if (!kThreadsAfterFork) GTEST_SKIP() << "the sanitizer's allocator trims its own way";
    EXPECT_EQ(Sealed([] {
                  std::vector<std::thread> workers;
                  for (int t = 0; t < 4; ++t) {
                      workers.emplace_back([] {
                          for (int round = 0; round < 4; ++round) {
                              std::vector<void*> blocks;
                              for (int i = 0; i < 256; ++i) blocks.push_back(std::malloc(60 << 10));
                              for (void* block : blocks) std::free(block);
                          }
                      });
                  }
                  for (std::thread& worker : workers) worker.join();
                  const std::time_t now = std::time(nullptr);
                  std::tm parts{};
                  return ::localtime_r(&now, &parts) != nullptr && ::gmtime_r(&now, &parts) &&
                                 std::strerror(EACCES) != nullptr
                             ? kSurvived
                             : 2;
              }),
              kSurvived);
}

// Memory past the limit is not given, however it is asked for: the allocation fails (a decoder
// then refuses) or the process is ended.
TEST(SealTest, MemoryBeyondTheLimitIsNotGiven) {
    const struct {
        const char* name;
        std::function<int()> attempt;
    } cases[] = {
        {"allocated",
         [] {
             void* memory = std::malloc(2 * kMemory);
             if (memory == nullptr) return kRefused;
             std::memset(memory, 1, 2 * kMemory);
             return kSurvived;
         }},
        {"mapped shared", [] { return MapAndTouch(MAP_SHARED | MAP_ANONYMOUS); }},
        {"mapped shared, validated",
         [] { return MapAndTouch(MAP_SHARED_VALIDATE | MAP_ANONYMOUS); }},
        {"mapped growing down",
         [] { return MapAndTouch(MAP_PRIVATE | MAP_ANONYMOUS | MAP_GROWSDOWN); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int status = Sealed(c.attempt);
        EXPECT_NE(status, kSurvived);
        EXPECT_NE(status, kNotSealed);
    }
}

// The main thread's stack is no data: under an unlimited stack limit only the bound on the
// address space stops it.
TEST(SealTest, TheStackDoesNotGrowPastTheLimit) {
    constexpr std::uint64_t memory = 16 << 20;
    const int status = test::InChild([] {
        rlimit stack{};
        ::getrlimit(RLIMIT_STACK, &stack);
        stack.rlim_cur = stack.rlim_max;
        ::setrlimit(RLIMIT_STACK, &stack);
        return Sealed(
            [] {
                for (std::uint64_t grown = 0; grown < 4 * memory; grown += 4096)
                    static_cast<volatile char*>(alloca(4096))[0] = 1;
                return kSurvived;
            },
            memory);
    });
    EXPECT_NE(status, kSurvived);
    EXPECT_NE(status, kNotSealed);
}

// Whatever thread makes the call, and in whatever architecture's numbers, the whole process
// ends: a thread left behind would sit idle until the caller's time limit.
TEST(SealTest, ACallOnAnyThreadOrOfAnotherArchitectureEndsTheWholeProcess) {
    const struct {
        const char* name;
        void (*call)();
    } cases[] = {
        {"a forbidden call on a thread started before the seal",
         [] { ::open("/etc/hostname", O_RDONLY); }},
        {"an x32 call", [] { ::syscall(__X32_SYSCALL_BIT | SYS_getpid); }},
        {"an i386 call through int 0x80",
         [] {
             long result = 20;  // getpid on i386
             asm volatile("int $0x80" : "+a"(result) : : "memory");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_GE(SealedOnAThread(c.call), 128);
    }
}

// Run by hand with its standard error on a file, which it may not grow once sealed: it says why
// there before the seal, and its later messages go nowhere instead of ending it.
TEST(SealTest, StandardErrorOnAFileSaysWhyNothingMoreComes) {
    const test::DataFolder folder;
    const std::string log = folder.File("log");
    EXPECT_EQ(test::InChild([&] {
                  const int file = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
                  if (file < 0 || ::dup2(file, STDERR_FILENO) != STDERR_FILENO) return 2;
                  if (!DropPrivileges().empty() || !SealProcess({kMemory, 5, kThreads}).empty())
                      return kNotSealed;
                  return ::write(STDERR_FILENO, "later\n", 6) == 6 ? kSurvived : 2;
              }),
              kSurvived);
    const std::vector<std::uint8_t> said = ReadBytes(log);
    EXPECT_NE(std::string(said.begin(), said.end()).find("standard error is a file"),
              std::string::npos);
}

// However many it tries, it starts the threads of its bound and no more, and lives: in a user of
// its own, which runs no other task, the bound is exact.
TEST(SealTest, ASealedProcessStartsNoMoreThreadsThanItsBound) {
    if (!kThreadsAfterFork) GTEST_SKIP() << "the sanitizer's runtime starts threads of its own";
    const int started = test::InChild([] {
        const uid_t own = 0x10000000 + static_cast<uid_t>(::getpid());
        if (::getuid() == 0 && (::setresgid(own, own, own) != 0 || ::setresuid(own, own, own) != 0))
            return kNotSealed;
        return SealedHere([] {
            std::mutex held;
            std::vector<std::thread> threads;
            {
                const std::lock_guard<std::mutex> hold(held);
                try {
                    while (threads.size() < 3000)
                        threads.emplace_back([&] { const std::lock_guard<std::mutex> wait(held); });
                } catch (const std::system_error&) {
                }
            }
            for (std::thread& thread : threads) thread.join();
            return static_cast<int>(threads.size());
        });
    });
    EXPECT_EQ(started, static_cast<int>(kThreads));
}

// Stopped in a timed wait and continued, as a job control or a debugger does, the wait goes on
// through a call of its own (restart_syscall), which the seal lets through.
TEST(SealTest, ASealedProcessStoppedAndContinuedInATimedWaitLives) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(SealedHere([] {
            std::mutex lock;
            std::condition_variable never;
            std::unique_lock<std::mutex> held(lock);
            never.wait_until(held, std::chrono::system_clock::now() + std::chrono::seconds(3));
            return kSurvived;
        }));
    }
    const auto procFile = [&](const char* name) {
        std::ifstream file("/proc/" + std::to_string(child) + "/" + name);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    };
    // Asleep in the futex call; then stopped; then continued.
    const auto waitUntil = [](const std::function<bool()>& done) {
        for (int i = 0; i < 1000 && !done(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    };
    waitUntil([&] { return procFile("syscall").starts_with(std::to_string(SYS_futex) + " "); });
    ::kill(child, SIGSTOP);
    waitUntil([&] {
        const std::string stat = procFile("stat");
        return stat.find(") T ") != std::string::npos;
    });
    ::kill(child, SIGCONT);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kSurvived)
        << (WIFSIGNALED(status) ? "killed by signal " + std::to_string(WTERMSIG(status)) : "");
}

}  // namespace
