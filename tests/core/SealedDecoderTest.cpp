// The real decoder, started as the game starts it, on an input that is open but never written:
// what can be seen of it from outside while it waits for its first byte.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <thread>

#include "core/io/Descriptor.h"
#include "core/io/ProgramDirectory.h"
#include "core/picture/DecodeLimits.h"
#include "core/sandbox/DecoderAnswer.h"
#include "core/sandbox/DecoderProcess.h"
#include "support/ByteFiles.h"
#include "support/ChildProcess.h"
#include "support/TempDirTest.h"

namespace {

using namespace std::chrono_literals;

std::string Decoder() { return GetProgramDirectory() + "corvalin-decode"; }

std::string FileText(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Waits, within a bound that only a broken decoder reaches, until found gives a result.
template <typename Find>
auto WaitFor(Find found) {
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    for (;;) {
        auto result = found();
        if (result || std::chrono::steady_clock::now() > deadline) return result;
        std::this_thread::sleep_for(10ms);
    }
}

Descriptor EndOf(pid_t pid) {
    return Descriptor(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
}

bool Ends(const Descriptor& end) {
    pollfd ended{end.Get(), POLLIN, 0};
    return ::poll(&ended, 1, 10'000) == 1;
}

class SealedDecoderTest : public ::testing::Test {
protected:
    void SetUp() override {
        int ends[2];
        ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
        const Descriptor input(ends[0]);
        m_neverWritten.emplace(ends[1]);
        m_caller = ::fork();
        if (m_caller == 0) {
            RunDecoder(Decoder(), input.Get(), {64, 60s}, {});
            ::_exit(0);
        }
        // The caller's child supervises the decoder, its own child.
        m_decoder = WaitFor([&] {
            pid_t supervisor = 0;
            pid_t decoder = 0;
            std::ifstream(ChildrenOf(m_caller)) >> supervisor;
            if (supervisor > 0) std::ifstream(ChildrenOf(supervisor)) >> decoder;
            return decoder;
        });
        ASSERT_GT(m_decoder, 0);
        m_decoderEnd.emplace(EndOf(m_decoder));
        // The main thread asleep in a read of its standard input.
        ASSERT_TRUE(WaitFor([&] { return FileText(ProcFile("syscall")).starts_with("0 0x0 "); }));
    }

    void TearDown() override {
        if (m_caller <= 0) return;
        ::kill(m_caller, SIGKILL);
        ::waitpid(m_caller, nullptr, 0);
        if (m_decoderEnd)
            ::syscall(SYS_pidfd_send_signal, m_decoderEnd->Get(), SIGKILL, nullptr, 0);
    }

    static std::string ChildrenOf(pid_t pid) {
        const std::string process = std::to_string(pid);
        return "/proc/" + process + "/task/" + process + "/children";
    }
    std::string ProcFile(const std::string& name) const {
        return "/proc/" + std::to_string(m_decoder) + "/" + name;
    }

    std::optional<Descriptor> m_neverWritten;
    pid_t m_caller = -1;
    pid_t m_decoder = 0;
    std::optional<Descriptor> m_decoderEnd;
};

TEST_F(SealedDecoderTest, EveryThreadIsSealedBeforeTheFirstRead) {
    int threads = 0;
    for (const auto& task : std::filesystem::directory_iterator(ProcFile("task"))) {
        const std::string status = FileText(task.path() / "status");
        SCOPED_TRACE(task.path());
        EXPECT_NE(status.find("\nSeccomp:\t2\n"), std::string::npos);
        EXPECT_NE(status.find("\nNoNewPrivs:\t1\n"), std::string::npos);
        ++threads;
    }
    EXPECT_GT(threads, 0);
}

TEST_F(SealedDecoderTest, ItsLimitsAreSetBeforeTheFirstRead) {
    std::map<std::string, std::string> soft;  // the name of each limit, its soft value
    std::istringstream limits(FileText(ProcFile("limits")));
    constexpr std::size_t kNameWidth = 26;
    for (std::string line; std::getline(limits, line);) {
        if (line.size() > kNameWidth) {
            std::istringstream(line.substr(kNameWidth)) >> soft[line.substr(0, line.find("  "))];
        }
    }
    EXPECT_NE(soft["Max cpu time"], "unlimited");
    EXPECT_NE(soft["Max data size"], "unlimited");
    EXPECT_NE(soft["Max address space"], "unlimited");
    EXPECT_EQ(soft["Max file size"], "0");
    EXPECT_NE(soft["Max processes"], "unlimited");
    EXPECT_EQ(soft["Max core file size"], "0");
}

// Started by root, as the tests are, it holds no capability, not even in its bounding set, and
// is root no more: the thread bound holds no process of root.
TEST_F(SealedDecoderTest, ItHoldsNoPrivilegeBeforeTheFirstRead) {
    std::map<std::string, std::string> fields;
    std::istringstream status(FileText(ProcFile("status")));
    for (std::string line; std::getline(status, line);) {
        std::istringstream values(line.substr(line.find(':') + 1));
        values >> fields[line.substr(0, line.find(':'))];
    }
    for (const char* set : {"CapInh", "CapPrm", "CapEff", "CapBnd", "CapAmb"}) {
        EXPECT_EQ(fields[set], "0000000000000000") << set;
    }
    EXPECT_NE(fields["Uid"], "0");
    EXPECT_NE(fields["Gid"], "0");
}

// Asleep, it uses no processor time, so only its caller's end can end it.
TEST_F(SealedDecoderTest, ItEndsWithItsCaller) {
    ::kill(m_caller, SIGKILL);
    ::waitpid(m_caller, nullptr, 0);
    EXPECT_TRUE(Ends(*m_decoderEnd));
}

// A caller that ended before the decoder could tie itself to it leaves it someone else's child:
// it ends without an answer, and so does the decoder of every format it hands a TIFF to.
TEST(DecoderCallerTest, ADecoderWhoseCallerHasGoneEndsAtOnce) {
    for (const std::string input :
         {"/dev/null", CORVALIN_FUZZ_CORPUS "/picture_import/tiff-quarters"}) {
        SCOPED_TRACE(input);
        // Never full: an answer is cut short there rather than wait for a reader.
        int ends[2];
        ASSERT_EQ(::pipe2(ends, O_CLOEXEC | O_NONBLOCK), 0);
        const Descriptor answer(ends[0]);
        Descriptor answerWriteEnd(ends[1]);
        const int status = test::InChild([&] {
            const Descriptor from(::open(input.c_str(), O_RDONLY));
            ::dup2(from.Get(), STDIN_FILENO);
            ::dup2(answerWriteEnd.Get(), STDOUT_FILENO);
            const std::string decoder = Decoder();
            ::execl(decoder.c_str(), decoder.c_str(), (kCallerOption + std::string("1")).c_str(),
                    nullptr);
            return 2;
        });
        EXPECT_EQ(status, 1);
        char first = 0;
        EXPECT_LT(::read(answer.Get(), &first, 1), 1) << "it answered";
    }
}

// It reads no more than any picture file may hold, whoever hands it the file: a picture padded
// past that is refused, though the same picture alone decodes.
class DecoderInputTest : public TempDirTest {};

TEST_F(DecoderInputTest, AnInputLargerThanAnyPictureFileIsRefused) {
    const std::string path = PathOf("one.bmp");
    WriteBytes(path, Hex("424D 3A000000 00000000 36000000"       // file header
                         "28000000 01000000 01000000 0100 1800"  // 1 x 1, 24 bits
                         "00000000 04000000 00000000 00000000 00000000 00000000"
                         "102030 00"));  // one pixel, padded
    const auto decode = [&] {
        const Descriptor input(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        const DecoderRun run =
            RunDecoder(Decoder(), input.Get(), {MaxAnswerBytes(400, 300), 30s}, {});
        return run.ExitedCleanly() ? ParseDecoderAnswer(run.output, 400, 300).kind
                                   : DecoderAnswer::Kind::Broken;
    };
    EXPECT_EQ(decode(), DecoderAnswer::Kind::Pixels);
    std::filesystem::resize_file(path, kMaxPictureFileBytes + 1);
    EXPECT_EQ(decode(), DecoderAnswer::Kind::Refused);
}

}  // namespace
