#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "core/io/Descriptor.h"
#include "core/sandbox/DecoderAnswer.h"
#include "core/sandbox/DecoderProcess.h"
#include "support/ByteFiles.h"
#include "support/TempDirTest.h"

namespace {

using End = DecoderRun::End;
using namespace std::chrono_literals;

// A whole 2 x 1 answer, as printf writes it.
constexpr char kWholeAnswer[] = R"(printf 'CVP1\002\000\001\000\377\000\000\000\000\377')";
constexpr DecoderLimits kLimits{64, 2s};

class DecoderProcessTest : public TempDirTest {
protected:
    // A stand-in for the decoder: a shell script doing what a decoder taken over might do.
    std::string Decoder(const std::string& body) {
        const std::string script = "#!/bin/sh\n" + body + "\n";
        const std::string path = PathOf("decoder");
        WriteBytes(path, std::vector<std::uint8_t>(script.begin(), script.end()));
        ::chmod(path.c_str(), 0700);
        return path;
    }

    DecoderRun Run(const std::string& body, const DecoderLimits& limits = kLimits,
                   const std::function<bool()>& keepGoing = {}) {
        WriteBytes(PathOf("picture"), Hex("89504E47"));
        const Descriptor input(::open(PathOf("picture").c_str(), O_RDONLY | O_CLOEXEC));
        return RunDecoder(Decoder(body), input.Get(), limits, keepGoing);
    }
};

TEST_F(DecoderProcessTest, OnlyAWholeAnswerAndACleanExitCount) {
    const struct {
        const char* name;
        std::string body;
        End end;
    } cases[] = {
        {"answers and exits", kWholeAnswer, End::Exited},
        {"dies before any output", "kill -9 $$", End::Died},
        {"dies halfway through the pixels", R"(printf 'CVP1\002\000\001\000\377\000'; kill -9 $$)",
         End::Died},
        {"dies after the pixels", std::string(kWholeAnswer) + "; kill -9 $$", End::Died},
        {"fails after the pixels", std::string(kWholeAnswer) + "; exit 1", End::Exited},
        {"answers and exits, leaving a child on its output",
         std::string(kWholeAnswer) + "; sleep 60 &", End::Exited},
        {"writes more than any answer", "head -c 100000 /dev/zero", End::TooLong},
        {"never ends", "exec sleep 60", End::TimedOut},
        {"ends its output but not itself", "exec >&-; exec sleep 60", End::TimedOut},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DecoderRun run = Run(c.body, {64, 300ms});
        EXPECT_EQ(run.end, c.end);
        EXPECT_EQ(run.ExitedCleanly(), std::string_view(c.name).starts_with("answers and exits"));
        if (run.ExitedCleanly()) {
            EXPECT_EQ(ParseDecoderAnswer(run.output, 2, 1).kind, DecoderAnswer::Kind::Pixels);
        }
    }
}

TEST_F(DecoderProcessTest, CancelEndsTheDecoderAtOnce) {
    int asked = 0;
    const DecoderRun run = Run("exec sleep 60", {64, 60s}, [&] { return ++asked < 3; });
    EXPECT_EQ(run.end, End::Cancelled);
    EXPECT_EQ(asked, 3);
}

// It reads the file as its input and holds no other descriptor of ours, not even one that a
// careless caller left open across programs.
TEST_F(DecoderProcessTest, TheDecoderGetsTheFileAndNothingElse) {
    const Descriptor leaked(::open(PathOf(".").c_str(), O_RDONLY));
    ASSERT_GE(leaked.Get(), 0);
    const DecoderRun run = Run("cat; ls /proc/self/fd | tr '\\n' ' '", {64, 2s});
    ASSERT_TRUE(run.ExitedCleanly());
    EXPECT_EQ(std::string(run.output.begin(), run.output.end()), "\x89PNG0 1 2 3 ");
}

// Whatever the decoder started goes with it, not only the decoder itself.
TEST_F(DecoderProcessTest, TheTimeLimitEndsTheDecodersWholeGroup) {
    const DecoderRun run = Run("sleep 60 & echo $! > " + PathOf("child") + "; exec sleep 60");
    EXPECT_EQ(run.end, End::TimedOut);
    std::string child;
    std::ifstream(PathOf("child")) >> child;
    ASSERT_FALSE(child.empty());
    // Killed, it may take a moment to end.
    const Descriptor ends(static_cast<int>(::syscall(SYS_pidfd_open, std::stoi(child), 0)));
    pollfd ended{ends.Get(), POLLIN, 0};
    EXPECT_TRUE(ends.Get() < 0 || ::poll(&ended, 1, 10'000) == 1) << "the child lives on";
}

// A process that left the decoder's group, holding its output open, neither holds the run past
// the decoder's end nor outlives it.
TEST_F(DecoderProcessTest, WhatLeftTheDecodersGroupGoesWithIt) {
    // The child tells its id once it has left; only then does the decoder answer and exit.
    const std::string child = PathOf("child");
    const DecoderRun run =
        Run("setsid sh -c 'echo $$ > " + child + "; exec sleep 60' & " + "while [ ! -s " + child +
                " ]; do sleep 0.01; done; " + kWholeAnswer,
            {64, 20s});
    EXPECT_EQ(run.end, End::Exited);
    EXPECT_EQ(ParseDecoderAnswer(run.output, 2, 1).kind, DecoderAnswer::Kind::Pixels);
    std::string pid;
    std::ifstream(child) >> pid;
    ASSERT_FALSE(pid.empty());
    const Descriptor ends(static_cast<int>(::syscall(SYS_pidfd_open, std::stoi(pid), 0)));
    pollfd ended{ends.Get(), POLLIN, 0};
    EXPECT_TRUE(ends.Get() < 0 || ::poll(&ended, 1, 10'000) == 1) << "the child lives on";
}

// Not one variable of the player's session reaches it, whatever the caller holds; a sanitizer
// build passes on its runtime's options alone.
TEST_F(DecoderProcessTest, TheDecoderGetsNoVariableOfOurs) {
    ::setenv("CORVALIN_SESSION_SECRET", "hidden", 1);
    const DecoderRun run = Run("tr '\\0' '\\n' < /proc/$$/environ", {4096, 2s});
    ::unsetenv("CORVALIN_SESSION_SECRET");
    ASSERT_TRUE(run.ExitedCleanly());
    std::istringstream lines(std::string(run.output.begin(), run.output.end()));
    for (std::string line; std::getline(lines, line);) {
        EXPECT_NE(line.find("_OPTIONS="), std::string::npos) << line;
    }
}

// A name without its folder would be looked for where the game happens to run.
TEST_F(DecoderProcessTest, OnlyAProgramNamedByItsWholePathIsStarted) {
    Decoder("touch " + PathOf("ran"));
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(Dir());
    const Descriptor input(::open("/dev/null", O_RDONLY));
    for (const char* name : {"decoder", "./decoder"}) {
        EXPECT_EQ(RunDecoder(name, input.Get(), kLimits, {}).end, End::NotStarted) << name;
    }
    std::filesystem::current_path(before);
    EXPECT_FALSE(std::filesystem::exists(PathOf("ran")));
}

// Its end is waited for, not asked after every so often.
TEST_F(DecoderProcessTest, WaitingForTheDecoderTakesNoWakeUps) {
    rusage before{};
    ::getrusage(RUSAGE_THREAD, &before);
    const DecoderRun run = Run("exec >&-; sleep 0.5", {64, 5s});
    rusage after{};
    ::getrusage(RUSAGE_THREAD, &after);
    EXPECT_EQ(run.end, End::Exited);
    EXPECT_LT(after.ru_nvcsw - before.ru_nvcsw, 20);
}

TEST_F(DecoderProcessTest, AMissingProgramIsNotStarted) {
    const Descriptor input(::open("/dev/null", O_RDONLY));
    EXPECT_EQ(RunDecoder(PathOf("no-such-decoder"), input.Get(), kLimits, {}).end, End::NotStarted);
}

}  // namespace
