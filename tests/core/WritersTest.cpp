// Writers that meet: the lock that orders them, many processes changing Pic.dat and
// Score.dat at once, and files the writer may not read.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ScoreFixtures.h"
#include "core/io/FileError.h"
#include "core/io/FileIO.h"
#include "core/io/FileLock.h"
#include "core/package/ImagePackage.h"
#include "core/package/PackageFile.h"
#include "core/scores/ScoreFile.h"
#include "support/ByteFiles.h"
#include "support/ChildProcess.h"
#include "support/TempDirTest.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;
using test::InChild;

bool AddPicture(ImagePackage& package, const std::string& path, const std::string& name) {
    return UpdatePackageFile(package, path, [&](ImagePackage& current) {
        current.AddEntry(name, Bytes(name.begin(), name.end()));
        return true;
    });
}

class WritersTest : public TempDirTest {};

// The step of taking a lock that fails, with EIO.
std::string_view g_failingLockStep;

int FailLockStep(const char* call) { return call == g_failingLockStep ? EIO : 0; }

TEST_F(WritersTest, ALockThatCannotBeTakenIsAFileErrorThatSaysWhy) {
    const std::string held = PathOf("Held.dat");
    FileLock holder(held);
    std::filesystem::create_symlink("Loop.dat", PathOf("Loop.dat"));
    const std::string ioError = DescribeErrno(EIO);
    const struct {
        std::string path;
        std::string_view failing;
        std::string cause;
    } cases[] = {
        {held, "", "is being changed by another program, not changed; try again"},
        {PathOf("Pic.dat"), "open lock", "cannot be locked (" + ioError + "), not changed"},
        {PathOf("Pic.dat"), "flock", "cannot be locked (" + ioError + "), not changed"},
        {PathOf("Loop.dat"), "", "cannot be opened (" + DescribeErrno(ELOOP) + "), not changed"},
    };
    SetWriteStepHook(FailLockStep);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cause);
        g_failingLockStep = c.failing;
        try {
            FileLock second(c.path, 20ms);
            ADD_FAILURE() << "locked";
        } catch (const FileError& error) {
            EXPECT_EQ(error.Path(), c.path);
            EXPECT_EQ(error.Cause(), c.cause);
        }
    }
    SetWriteStepHook(nullptr);
}

// The lock file another player made beside a shared Pic.dat is read-only to us, and locks.
TEST_F(WritersTest, AnotherPlayersReadOnlyLockFileStillLocks) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root, to run as a second player";
    const std::string path = PathOf("Pic.dat");
    { FileLock first(path); }
    std::filesystem::permissions(Dir(), std::filesystem::perms::all);
    EXPECT_EQ(InChild([&] {
                  if (!test::BecomeNobody()) return 5;
                  FileLock mine(path, 0ms);
                  return 0;
              }),
              0);
}

TEST_F(WritersTest, TheLockIsFreeAgainOnceItsHolderEnds) {
    const std::string path = PathOf("Pic.dat");
    { FileLock first(path); }
    EXPECT_NO_THROW(FileLock(path, 0ms));
    // A holder killed with its lock held leaves nothing that blocks the next writer.
    EXPECT_EQ(InChild([&] {
                  FileLock dying(path);
                  ::raise(SIGKILL);
                  return 0;
              }),
              128 + SIGKILL);
    EXPECT_NO_THROW(FileLock(path, 0ms));
}

TEST_F(WritersTest, EightWritersAtATimeLoseNoPictureAndNoScore) {
    const std::string picPath = PathOf("Pic.dat");
    const std::string scorePath = PathOf("Score.dat");
    WriteBytes(scorePath, kTwoRowScores);
    constexpr int kRounds = 3;
    constexpr int kWriters = 8;
    std::vector<std::string> expected;
    for (int round = 0; round < kRounds; ++round) {
        // The writers wait at a closed pipe's read end and all start when it closes.
        int start[2];
        ASSERT_EQ(::pipe(start), 0);
        std::vector<pid_t> children;
        for (int writer = 0; writer < kWriters; ++writer) {
            const std::string name =
                "Round" + std::to_string(round) + "-" + std::to_string(writer) + ".jpg";
            expected.push_back(name);
            const pid_t child = ::fork();
            if (child == 0) {
                ::close(start[1]);
                char ignored;
                if (::read(start[0], &ignored, 1) < 0) ::_exit(4);
                try {
                    ImagePackage package;
                    AddPicture(package, picPath, name);
                    StoreFinishedGame(scorePath, {1, name, "writer", 10, 20, "2026.01.02"});
                } catch (...) {
                    ::_exit(2);
                }
                ::_exit(0);
            }
            children.push_back(child);
        }
        ::close(start[0]);
        ::close(start[1]);
        for (pid_t child : children) {
            int status = 0;
            ::waitpid(child, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        }
    }

    ImagePackage package;
    ASSERT_TRUE(package.Load(picPath)) << package.Damage();
    std::vector<std::string> names;
    package.GetNames(names);
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);

    ScoreTable table;
    ASSERT_TRUE(LoadScoreFile(scorePath, table));
    ASSERT_EQ(table.GetCount(), 2u + kRounds * kWriters);
    for (const std::string& name : expected) {
        int rows = 0;
        for (std::size_t row = 0; row < table.GetCount(); ++row)
            rows += table.GetAt(row).pictureName == name;
        EXPECT_EQ(rows, 1) << name;
    }
}

TEST_F(WritersTest, AWriterSeesWhatAnotherWriterAddedSinceItLoaded) {
    const std::string path = PathOf("Pic.dat");
    ImagePackage game;
    AddPicture(game, path, "First.jpg");
    ImagePackage shell;
    AddPicture(shell, path, "Shell.jpg");
    AddPicture(game, path, "Game.jpg");  // the game's package still held First.jpg alone
    std::vector<std::string> names;
    game.GetNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"First.jpg", "Shell.jpg", "Game.jpg"}));
    ImagePackage onDisk;
    ASSERT_TRUE(onDisk.Load(path));
    onDisk.GetNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"First.jpg", "Shell.jpg", "Game.jpg"}));
}

// A file the writer may write beside but not read: as a user who is not its owner (root's
// child drops to nobody), or with its read permission taken away.
class UnreadableFileTest : public TempDirTest {
protected:
    int AsUserWhoCannotRead(const std::string& path, const std::function<int()>& body) {
        std::filesystem::permissions(Dir(), std::filesystem::perms::all);
        std::filesystem::permissions(path, std::filesystem::perms::owner_write);
        return InChild([&] {
            if (::geteuid() == 0 && !test::BecomeNobody()) return 5;
            return body();
        });
    }
};

// 0 when action throws a FileError naming path, 1 otherwise.
int FailsWithFileError(const std::string& path, const std::function<void()>& action) {
    try {
        action();
    } catch (const FileError& error) {
        return error.Path() == path ? 0 : 1;
    }
    return 1;
}

TEST_F(UnreadableFileTest, AnUnreadablePicDatIsNeverWrittenOver) {
    const std::string path = PathOf("Pic.dat");
    ImagePackage nine;
    for (int i = 0; i < 9; ++i) nine.AddEntry("Picture" + std::to_string(i) + ".jpg", Bytes{1});
    WriteBytes(path, nine.ToBytes());
    EXPECT_EQ(AsUserWhoCannotRead(path,
                                  [&] {
                                      ImagePackage package;  // the game started empty
                                      package.Load(path);
                                      if (!package.Entries().empty()) return 6;
                                      return FailsWithFileError(
                                          path, [&] { AddPicture(package, path, "One.jpg"); });
                                  }),
              0);
    EXPECT_EQ(ReadBytes(path), nine.ToBytes());
    EXPECT_EQ(FileNamesIn(Dir()), (std::vector<std::string>{"Pic.dat", "Pic.dat.lock"}));
}

TEST_F(UnreadableFileTest, AnUnreadableScoreDatIsNeverWrittenOver) {
    const std::string path = PathOf("Score.dat");
    WriteBytes(path, kTwoRowScores);
    EXPECT_EQ(
        AsUserWhoCannotRead(
            path,
            [&] {
                return FailsWithFileError(
                           path,
                           [&] {
                               StoreFinishedGame(path, {0, "Sea.jpg", "ann", 1, 2, "2026.01.02"});
                           }) +
                       FailsWithFileError(path, [&] { RemovePictureScores(path, "Sea.jpg"); });
            }),
        0);
    EXPECT_EQ(ReadBytes(path), kTwoRowScores);
}

}  // namespace
