#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "core/io/ProgramDirectory.h"
#include "core/state/AppState.h"
#include "support/ByteFiles.h"
#include "support/ChildProcess.h"
#include "support/TempDirTest.h"

namespace {

struct DataFolderCase {
    const char* what;
    bool installedWritable;
    const char* xdgDataHome;  // null: unset
    const char* home;
    const char* file;
    DataAccess access;
    bool inPlayerFolder;  // the player already has this file
    const char* expected;
};

const DataFolderCase kCases[] = {
    // The program's folder is the player's: everything stays beside the program.
    {"writable, read picture", true, nullptr, "/home/ann", "Pic.dat", DataAccess::Read, false,
     "/opt/corvalin/Pic.dat"},
    {"writable, write picture", true, nullptr, "/home/ann", "Pic.dat", DataAccess::Write, false,
     "/opt/corvalin/Pic.dat"},
    {"writable, write score", true, "/x", "/home/ann", "Score.dat", DataAccess::Write, false,
     "/opt/corvalin/Score.dat"},
    // Read-only, no data of the player's yet: the installed files are read.
    {"read-only, first skin", false, nullptr, "/home/ann", "Skin.dat", DataAccess::Read, false,
     "/opt/corvalin/Skin.dat"},
    {"read-only, first pictures", false, nullptr, "/home/ann", "Pic.dat", DataAccess::Read, false,
     "/opt/corvalin/Pic.dat"},
    {"read-only, scores never installed", false, nullptr, "/home/ann", "Score.dat",
     DataAccess::Read, false, "/home/ann/.local/share/corvalin/Score.dat"},
    {"read-only, first import writes", false, nullptr, "/home/ann", "Pic.dat", DataAccess::Write,
     false, "/home/ann/.local/share/corvalin/Pic.dat"},
    {"read-only, first score writes", false, nullptr, "/home/ann", "Score.dat", DataAccess::Write,
     false, "/home/ann/.local/share/corvalin/Score.dat"},
    // After an import the player's library is the one read.
    {"read-only, after import", false, nullptr, "/home/ann", "Pic.dat", DataAccess::Read, true,
     "/home/ann/.local/share/corvalin/Pic.dat"},
    {"read-only, player's own skin", false, nullptr, "/home/ann", "Skin.dat", DataAccess::Read,
     true, "/home/ann/.local/share/corvalin/Skin.dat"},
    // XDG_DATA_HOME, when set to an absolute path, replaces ~/.local/share.
    {"XDG_DATA_HOME set", false, "/data/ann", "/home/ann", "Pic.dat", DataAccess::Write, false,
     "/data/ann/corvalin/Pic.dat"},
    {"XDG_DATA_HOME empty", false, "", "/home/ann", "Score.dat", DataAccess::Read, false,
     "/home/ann/.local/share/corvalin/Score.dat"},
    {"XDG_DATA_HOME relative", false, "data", "/home/ann", "Score.dat", DataAccess::Read, false,
     "/home/ann/.local/share/corvalin/Score.dat"},
    {"XDG_DATA_HOME without HOME", false, "/data/ann", nullptr, "Score.dat", DataAccess::Read,
     false, "/data/ann/corvalin/Score.dat"},
    // Nowhere of the player's: the installed folder, where a write then fails and is reported.
    {"no HOME, no XDG_DATA_HOME", false, nullptr, nullptr, "Pic.dat", DataAccess::Write, false,
     "/opt/corvalin/Pic.dat"},
};

void PrintTo(const DataFolderCase& c, std::ostream* os) { *os << c.what; }

class DataFolderRuleTest : public ::testing::TestWithParam<DataFolderCase> {};

TEST_P(DataFolderRuleTest, FileGoesWhereTheRuleSays) {
    const DataFolderCase& c = GetParam();
    const DataFolders folders =
        ChooseDataFolders("/opt/corvalin/", c.installedWritable, c.xdgDataHome, c.home);
    EXPECT_EQ(DataFilePath(folders, c.file, c.access, c.inPlayerFolder), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Table, DataFolderRuleTest, ::testing::ValuesIn(kCases));

class TestState : public AppState {};

class AppStateFoldersTest : public TempDirTest {};

TEST_F(AppStateFoldersTest, FirstWriteMakesThePlayersFolderAndLaterReadsFindIt) {
    std::filesystem::create_directories(Dir() / "installed");
    WriteBytes(Dir() / "installed" / "Pic.dat", {});
    const std::string player = PathOf("home/.local/share/corvalin/");
    TestState state;
    state.LoadData(DataFolders{PathOf("installed/"), player});
    EXPECT_EQ(state.DataFile("Pic.dat"), PathOf("installed/Pic.dat"));
    EXPECT_FALSE(std::filesystem::exists(player));

    EXPECT_EQ(state.DataFileToWrite("Pic.dat"), player + "Pic.dat");
    EXPECT_TRUE(std::filesystem::is_directory(player));
    WriteBytes(player + "Pic.dat", {});
    EXPECT_EQ(state.DataFile("Pic.dat"), player + "Pic.dat");
}

// The rule as a real player meets it: the tests' folder, where this program lies, is root's,
// so root keeps the files beside the program and nobody, who may read that folder but not
// write it, keeps them in the data folder.
TEST(ProgramFolderTest, OnlyAPlayerWhoCanWriteTheProgramsFolderKeepsTheFilesThere) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root, to run as a player who is not";
    EXPECT_EQ(FindDataFolders().player, "");
    EXPECT_EQ(test::InChild([] {
                  if (!test::BecomeNobody()) return 5;
                  ::setenv("XDG_DATA_HOME", "/data/nobody", 1);
                  const DataFolders folders = FindDataFolders();
                  if (folders.installed != GetProgramDirectory()) return 6;
                  return folders.player == "/data/nobody/corvalin/" ? 0 : 1;
              }),
              0);
}

}  // namespace
