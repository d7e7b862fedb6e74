#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

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
        {"writes more than any answer", "head -c 100000 /dev/zero", End::TooLong},
        {"never ends", "exec sleep 60", End::TimedOut},
        {"ends its output but not itself", "exec >&-; exec sleep 60", End::TimedOut},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DecoderRun run = Run(c.body, {64, 300ms});
        EXPECT_EQ(run.end, c.end);
        EXPECT_EQ(run.ExitedCleanly(), std::string(c.name) == "answers and exits");
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

TEST_F(DecoderProcessTest, AMissingProgramIsNotStarted) {
    const Descriptor input(::open("/dev/null", O_RDONLY));
    EXPECT_EQ(RunDecoder(PathOf("no-such-decoder"), input.Get(), kLimits, {}).end, End::NotStarted);
}

}  // namespace
