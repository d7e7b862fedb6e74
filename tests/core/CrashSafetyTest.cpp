// Writers killed at every point of their work, and writers on a full disk: whatever
// happens, Pic.dat and Score.dat on disk are the whole old file or the whole new one,
// and what the game holds in memory survives a failed write.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "ScoreFixtures.h"
#include "core/io/FileError.h"
#include "core/io/FileIO.h"
#include "core/package/ImagePackage.h"
#include "core/scores/Archive.h"
#include "core/scores/ScoreFile.h"
#include "support/ByteFiles.h"
#include "support/FileSizeLimit.h"
#include "support/TempDirTest.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Where a writer dies: when its file would grow past a byte count (the kernel kills it
// with SIGXFSZ in the middle of a write), or just before its Nth system call.
struct KillPoint {
    enum Kind { AtByte, AtCall } kind;
    std::size_t at;
};

// What a killed writer got done: the system calls it made, in order.
struct Outcome {
    bool killed = false;
    std::vector<std::string> callsMade;

    int Renames() const {
        int renames = 0;
        for (const auto& call : callsMade) renames += call == "rename";
        return renames;
    }
};

// State of the child writer, which reports each call through a pipe before making it.
int g_traceFd = -1;
std::size_t g_callsSeen = 0;
std::size_t g_killAtCall = 0;

void TraceCall(const char* call) {
    if (++g_callsSeen == g_killAtCall) ::raise(SIGKILL);
    std::string line = std::string(call) + "\n";
    if (::write(g_traceFd, line.data(), line.size()) < 0) ::_exit(3);
}

// Runs write in a child process that dies at point (or runs to its end when the point
// lies beyond its work).
Outcome RunWriter(const std::function<void()>& write, KillPoint point) {
    int trace[2];
    if (::pipe(trace) != 0) throw std::runtime_error("pipe");
    pid_t child = ::fork();
    if (child == 0) {
        ::close(trace[0]);
        rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        g_traceFd = trace[1];
        g_killAtCall = point.kind == KillPoint::AtCall ? point.at : 0;
        SetWriteStepHook(TraceCall);
        if (point.kind == KillPoint::AtByte) {
            std::signal(SIGXFSZ, SIG_DFL);
            rlimit limit{point.at, RLIM_INFINITY};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        try {
            write();
        } catch (...) {
            ::_exit(2);
        }
        ::_exit(0);
    }
    ::close(trace[1]);
    std::string text;
    char buffer[256];
    for (ssize_t got; (got = ::read(trace[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, got);
    ::close(trace[0]);
    int status = 0;
    ::waitpid(child, &status, 0);

    Outcome outcome;
    outcome.killed =
        WIFSIGNALED(status) && (WTERMSIG(status) == SIGKILL || WTERMSIG(status) == SIGXFSZ);
    if (!outcome.killed && !(WIFEXITED(status) && WEXITSTATUS(status) == 0))
        throw std::runtime_error("the writer failed instead of dying: status " +
                                 std::to_string(status));
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1)
        outcome.callsMade.push_back(text.substr(start, end - start));
    return outcome;
}

class CrashSafetyTest : public TempDirTest {
protected:
    // Leaves the folder holding exactly these files.
    void Reset(const std::vector<std::pair<std::string, Bytes>>& files) {
        for (const auto& name : FileNamesIn(Dir())) std::filesystem::remove(Dir() / name);
        for (const auto& [name, bytes] : files) WriteBytes(PathOf(name), bytes);
    }

    // Every file beside the target is the target's own: its copy kept aside, or the
    // temporary file of a write of either that died (name + '.' + six characters).
    void ExpectOnlyOwnFilesBeside(const std::string& target) {
        auto isTemporaryOf = [](const std::string& name, const std::string& file) {
            return name.rfind(file + ".", 0) == 0 && name.size() == file.size() + 7;
        };
        for (const auto& name : FileNamesIn(Dir())) {
            const std::string aside = target + ".damaged";
            EXPECT_TRUE(name == target || name == aside || isTemporaryOf(name, target) ||
                        isTemporaryOf(name, aside))
                << "stray file " << name;
        }
    }

    // Kills write at every byte of the file it writes and before every call it makes,
    // each time from the old state, and checks the file after each death.
    void KillEverywhere(const std::string& target,
                        const std::vector<std::pair<std::string, Bytes>>& before,
                        const Bytes& oldBytes, const Bytes& newBytes,
                        const std::function<void()>& write,
                        const std::function<void(const Outcome&)>& extraCheck = {}) {
        // A clean run tells how many calls the write makes and how many renames finish it.
        Reset(before);
        const Outcome whole = RunWriter(write, {KillPoint::AtCall, 0});
        EXPECT_FALSE(whole.killed);
        EXPECT_EQ(ReadBytes(PathOf(target)), newBytes) << "the write itself is wrong";
        const int renamesToFinish = whole.Renames();

        int tried = 0;
        auto check = [&](KillPoint point) {
            Reset(before);
            const Outcome outcome = RunWriter(write, point);
            ++tried;
            ASSERT_TRUE(outcome.killed) << "kill point " << point.at << " was never reached";
            const Bytes now = ReadBytes(PathOf(target));
            const Bytes& expected = outcome.Renames() == renamesToFinish ? newBytes : oldBytes;
            ASSERT_EQ(now, expected)
                << "killed " << (point.kind == KillPoint::AtByte ? "at byte " : "before call ")
                << point.at << " after " << outcome.callsMade.size() << " calls";
            ExpectOnlyOwnFilesBeside(target);
            if (extraCheck) extraCheck(outcome);
        };
        for (std::size_t byte = 0; byte < newBytes.size(); ++byte) check({KillPoint::AtByte, byte});
        for (std::size_t call = 1; call <= whole.callsMade.size(); ++call)
            check({KillPoint::AtCall, call});
        RecordProperty("kill_points", tried);
    }
};

// Three tiny pictures, as a library before an import: small enough to die at every byte.
void AddThreePictures(ImagePackage& package) {
    package.AddEntry("Harbour.jpg", Bytes(50, 0x11), 7);
    package.AddEntry("Meadow.jpg", Bytes(40, 0x22));
    package.AddEntry("Reef.jpg", Bytes(30, 0x33));
}

Bytes ThreePictureBytes() {
    ImagePackage package;
    AddThreePictures(package);
    return package.ToBytes();
}

TEST_F(CrashSafetyTest, PictureImportKilledAnywhereLeavesTheOldOrTheNewPicDat) {
    const Bytes oldBytes = ThreePictureBytes();
    ImagePackage grown;
    AddThreePictures(grown);
    grown.AddEntry("Beach.jpg", Bytes(60, 0x44));
    const Bytes newBytes = grown.ToBytes();

    const std::string path = PathOf("Pic.dat");
    KillEverywhere("Pic.dat", {{"Pic.dat", oldBytes}}, oldBytes, newBytes, [&] {
        ImagePackage package;
        if (!package.Load(path)) throw std::runtime_error("load");
        package.AddEntry("Beach.jpg", Bytes(60, 0x44));
        package.Save(path);
    });
}

TEST_F(CrashSafetyTest, PictureRemovalKilledAnywhereLeavesTheOldOrTheNewPicDat) {
    const Bytes oldBytes = ThreePictureBytes();
    ImagePackage shrunk;
    AddThreePictures(shrunk);
    shrunk.Remove("Meadow.jpg");
    const Bytes newBytes = shrunk.ToBytes();

    const std::string path = PathOf("Pic.dat");
    KillEverywhere("Pic.dat", {{"Pic.dat", oldBytes}}, oldBytes, newBytes, [&] {
        ImagePackage package;
        if (!package.Load(path)) throw std::runtime_error("load");
        package.Remove("Meadow.jpg");
        package.Save(path);
    });
}

TEST_F(CrashSafetyTest, SaveOverADamagedPicDatKilledAnywhereNeverLosesTheOriginal) {
    Bytes damaged = ThreePictureBytes();
    damaged.resize(damaged.size() - 20);  // the last picture is cut short
    ImagePackage readable;
    readable.LoadFromBytes(damaged);
    readable.AddEntry("Beach.jpg", Bytes(60, 0x44));
    const Bytes newBytes = readable.ToBytes();

    const std::string path = PathOf("Pic.dat");
    KillEverywhere(
        "Pic.dat", {{"Pic.dat", damaged}}, damaged, newBytes,
        [&] {
            ImagePackage package;
            package.Load(path);
            package.AddEntry("Beach.jpg", Bytes(60, 0x44));
            package.Save(path);
        },
        [&](const Outcome&) {
            // Once the damaged file is replaced, its copy aside is whole.
            const auto aside = ReadWholeFile(PathOf("Pic.dat.damaged"));
            if (ReadBytes(path) == newBytes) {
                ASSERT_TRUE(aside.has_value());
            }
            if (aside) {
                EXPECT_EQ(*aside, damaged);
            }
        });
}

const ScoreRecord kBeachGame{1, "Beach.jpg", "ann", 120, 240, "2026.12.07"};

// The two-row table with the Beach game stored behind it.
Bytes TwoRowsAndTheBeachGame() {
    ScoreTable table;
    Archive loading(kTwoRowScores, "Score.dat");
    table.Serialize(loading);
    table.Append(kBeachGame);
    Archive storing("Score.dat");
    table.Serialize(storing);
    return storing.Stored();
}

TEST_F(CrashSafetyTest, StoringAGameKilledAnywhereLeavesTheOldOrTheNewScoreDat) {
    const Bytes newBytes = TwoRowsAndTheBeachGame();

    const std::string path = PathOf("Score.dat");
    KillEverywhere("Score.dat", {{"Score.dat", kTwoRowScores}}, kTwoRowScores, newBytes,
                   [&] { StoreFinishedGame(path, kBeachGame); });
}

TEST_F(CrashSafetyTest, RemovingScoresKilledAnywhereLeavesTheOldOrTheNewScoreDat) {
    const Bytes oldBytes = TwoRowsAndTheBeachGame();
    const Bytes newBytes =
        Hex("01 00 00 00  01 00 00 00  09 42 65 61 63 68 2E 6A 70 67  03 61 6E 6E"
            "78 00 00 00  F0 00 00 00  0A 32 30 32 36 2E 31 32 2E 30 37");

    const std::string path = PathOf("Score.dat");
    KillEverywhere("Score.dat", {{"Score.dat", oldBytes}}, oldBytes, newBytes,
                   [&] { RemovePictureScores(path, "Sea.jpg"); });
}

// A full disk: the write fails with EFBIG, as when the folder's file system has no room.
class FullFolderTest : public TempDirTest {
protected:
    // Runs write on a disk with room for limit bytes; it must throw naming path and EFBIG.
    void ExpectFullDiskFailure(rlim_t limit, const std::string& path,
                               const std::function<void()>& write) {
        FileSizeLimit fullDisk(limit);
        try {
            write();
            FAIL() << "a write into a full folder reported success";
        } catch (const FileError& error) {
            EXPECT_EQ(error.Path(), path);
            EXPECT_EQ(error.Cause(), DescribeErrno(EFBIG));
        }
    }
};

TEST_F(FullFolderTest, SavingPicDatFailsVisiblyAndLosesNothing) {
    const Bytes oldBytes = ThreePictureBytes();
    WriteBytes(PathOf("Pic.dat"), oldBytes);
    ImagePackage package;
    ASSERT_TRUE(package.Load(PathOf("Pic.dat")));
    package.AddEntry("Beach.jpg", Bytes(4000, 0x44));
    const Bytes wanted = package.ToBytes();
    ExpectFullDiskFailure(oldBytes.size(), PathOf("Pic.dat"),
                          [&] { package.Save(PathOf("Pic.dat")); });
    EXPECT_EQ(ReadBytes(PathOf("Pic.dat")), oldBytes);
    EXPECT_EQ(FileNamesIn(Dir()), std::vector<std::string>{"Pic.dat"});
    EXPECT_EQ(package.ToBytes(), wanted);  // the new picture is still there to save
    ASSERT_TRUE(package.Save(PathOf("Pic.dat")));
    EXPECT_EQ(ReadBytes(PathOf("Pic.dat")), wanted);
}

TEST_F(FullFolderTest, ADamagedPicDatThatCannotBeKeptAsideIsNotReplaced) {
    Bytes damaged = ThreePictureBytes();
    damaged.resize(damaged.size() - 20);
    WriteBytes(PathOf("Pic.dat"), damaged);
    ImagePackage package;
    EXPECT_FALSE(package.Load(PathOf("Pic.dat")));
    {
        FileSizeLimit fullDisk(damaged.size() / 2);
        EXPECT_THROW(package.Save(PathOf("Pic.dat")), FileError);
    }
    EXPECT_EQ(ReadBytes(PathOf("Pic.dat")), damaged);
    EXPECT_EQ(FileNamesIn(Dir()), std::vector<std::string>{"Pic.dat"});
    // With room again the original is still kept aside before it is replaced.
    ASSERT_TRUE(package.Save(PathOf("Pic.dat")));
    EXPECT_EQ(ReadBytes(PathOf("Pic.dat.damaged")), damaged);
    EXPECT_EQ(ReadBytes(PathOf("Pic.dat")), package.ToBytes());
}

TEST_F(FullFolderTest, StoringAGameFailsVisiblyAndKeepsEveryScore) {
    WriteBytes(PathOf("Score.dat"), kTwoRowScores);
    ExpectFullDiskFailure(kTwoRowScores.size(), PathOf("Score.dat"),
                          [&] { StoreFinishedGame(PathOf("Score.dat"), kBeachGame); });
    EXPECT_EQ(ReadBytes(PathOf("Score.dat")), kTwoRowScores);
    EXPECT_EQ(FileNamesIn(Dir()), std::vector<std::string>{"Score.dat"});
}

TEST_F(FullFolderTest, RemovingScoresFailsVisiblyAndKeepsEveryScore) {
    WriteBytes(PathOf("Score.dat"), kTwoRowScores);
    {
        FileSizeLimit fullDisk(0);
        EXPECT_THROW(RemovePictureScores(PathOf("Score.dat"), "Sea.jpg"), FileError);
    }
    EXPECT_EQ(ReadBytes(PathOf("Score.dat")), kTwoRowScores);
    EXPECT_EQ(FileNamesIn(Dir()), std::vector<std::string>{"Score.dat"});
}

}  // namespace
