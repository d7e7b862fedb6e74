#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>
#include <vector>

#include "core/sandbox/CLibrary.h"
#include "core/sandbox/Seal.h"
#include "support/ChildProcess.h"

namespace {

constexpr int kSurvived = 0;
constexpr int kRefused = 42;
constexpr std::uint64_t kMemory = 256ull << 20;
// The address sanitizer's runtime makes calls of its own when a forked child starts its first
// thread; the decoder, which starts its threads before it seals itself, never meets them.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kThreadsAfterFork = false;
#else
constexpr bool kThreadsAfterFork = true;
#endif

// In a child sealed as the decoder seals itself, the C library settled first, with a smaller
// memory limit; its exit status, or 128 + the signal that ended it.
int Sealed(const std::function<int()>& attempt) {
    return test::InChild([&] {
        SettleCLibrary();
        if (!SealProcess({kMemory, 5}).empty()) return 1;
        return attempt();
    });
}

TEST(SealTest, ASealedProcessComputesThreadsAndAnswersOnly) {
    EXPECT_EQ(Sealed([] {
                  int sum = 42;
                  if (kThreadsAfterFork) {
                      std::thread worker([&] { sum = 6 * 7; });
                      worker.join();
                  }
                  std::vector<char> memory(kMemory / 2, 1);  // within its limit
                  return sum == 42 && memory.back() == 1 && ::write(STDERR_FILENO, "", 0) == 0
                             ? kSurvived
                             : 2;
              }),
              kSurvived);
}

TEST(SealTest, AnythingElseEndsIt) {
    const int killed = 128 + SIGSYS;
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
        {"writing anything but its output", [] { return ::write(3, "x", 1) >= 0 ? 0 : 2; }},
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

// An allocation past the limit fails: a decoder then refuses, or dies of it.
TEST(SealTest, MemoryBeyondTheLimitIsNotGiven) {
    const int status = Sealed([] {
        void* memory = std::malloc(2 * kMemory);
        if (memory == nullptr) return kRefused;
        std::memset(memory, 1, 2 * kMemory);
        return kSurvived;
    });
    EXPECT_NE(status, kSurvived);
    EXPECT_NE(status, 1);  // sealed it was
}

}  // namespace
