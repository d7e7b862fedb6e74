#include <gtest/gtest.h>

#include "ScoreFixtures.h"
#include "core/io/FileError.h"
#include "core/scores/ScoreFile.h"
#include "support/FileSizeLimit.h"
#include "support/TempDirTest.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const ScoreRecord kLakeGame{2, "Lake.jpg", "ann", 10, 95, "2006.01.31"};

class ScoreFileTest : public TempDirTest {
protected:
    std::string ScorePath() const { return PathOf("Score.dat"); }
};

TEST_F(ScoreFileTest, MissingFileLoadsAsEmptyTable) {
    ScoreTable table;
    EXPECT_FALSE(LoadScoreFile(ScorePath(), table));
    EXPECT_EQ(table.GetCount(), 0u);
    EXPECT_FALSE(std::filesystem::exists(ScorePath()));
}

TEST_F(ScoreFileTest, WorkedExampleFileLoads) {
    WriteBytes(ScorePath(), kOneRowScores);
    ScoreTable table;
    EXPECT_TRUE(LoadScoreFile(ScorePath(), table));
    ASSERT_EQ(table.GetCount(), 1u);
    EXPECT_EQ(table.GetAt(0), kOneRowRecord);
}

TEST_F(ScoreFileTest, StoringIntoEmptyTableFileGivesTheWorkedExample) {
    WriteBytes(ScorePath(), Hex("00 00 00 00"));
    StoreFinishedGame(ScorePath(), kOneRowRecord);
    EXPECT_EQ(ReadBytes(ScorePath()), kOneRowScores);
    EXPECT_EQ(FileNamesIn(Dir()), std::vector<std::string>{"Score.dat"});
}

TEST_F(ScoreFileTest, StoringCreatesAMissingFile) {
    StoreFinishedGame(ScorePath(), kOneRowRecord);
    EXPECT_EQ(ReadBytes(ScorePath()), kOneRowScores);
}

TEST_F(ScoreFileTest, StoringAppendsBehindTheStoredRows) {
    WriteBytes(ScorePath(), kOneRowScores);
    StoreFinishedGame(ScorePath(), kLakeGame);
    ScoreTable table;
    ASSERT_TRUE(LoadScoreFile(ScorePath(), table));
    ASSERT_EQ(table.GetCount(), 2u);
    EXPECT_EQ(table.GetAt(0), kOneRowRecord);
    EXPECT_EQ(table.GetAt(1), kLakeGame);
}

TEST_F(ScoreFileTest, DamagedFileThrowsOnLoadKeepingRowsBeforeTheDamage) {
    const Bytes damaged(kTwoRowScores.begin(), kTwoRowScores.end() - 1);
    WriteBytes(ScorePath(), damaged);
    ScoreTable table;
    EXPECT_THROW(LoadScoreFile(ScorePath(), table), FileError);
    ASSERT_EQ(table.GetCount(), 1u);
    EXPECT_EQ(table.GetAt(0), kOneRowRecord);
}

TEST_F(ScoreFileTest, DamagedFileIsNeverWrittenOver) {
    for (const Bytes& damaged : {Bytes{}, Bytes(kTwoRowScores.begin(), kTwoRowScores.end() - 1)}) {
        WriteBytes(ScorePath(), damaged);
        EXPECT_THROW(StoreFinishedGame(ScorePath(), kLakeGame), FileError);
        EXPECT_THROW(RemovePictureScores(ScorePath(), "Sea.jpg"), FileError);
        EXPECT_EQ(ReadBytes(ScorePath()), damaged);
    }
}

TEST_F(ScoreFileTest, RemovingAPictureKeepsTheOtherRows) {
    WriteBytes(ScorePath(), kTwoRowScores);
    StoreFinishedGame(ScorePath(), kLakeGame);
    RemovePictureScores(ScorePath(), "Sea.jpg");
    ScoreTable table;
    ASSERT_TRUE(LoadScoreFile(ScorePath(), table));
    ASSERT_EQ(table.GetCount(), 1u);
    EXPECT_EQ(table.GetAt(0), kLakeGame);
}

TEST_F(ScoreFileTest, RemovingAPictureWithoutRowsKeepsTheBytes) {
    WriteBytes(ScorePath(), kTwoRowScores);
    RemovePictureScores(ScorePath(), "sea.jpg");
    EXPECT_EQ(ReadBytes(ScorePath()), kTwoRowScores);
}

TEST_F(ScoreFileTest, RemovingFromAMissingFileCreatesNothing) {
    RemovePictureScores(ScorePath(), "Sea.jpg");
    EXPECT_FALSE(std::filesystem::exists(ScorePath()));
}

TEST_F(ScoreFileTest, StoreScoreFileWritesTheWholeTable) {
    WriteBytes(ScorePath(), kTwoRowScores);
    ScoreTable table;
    table.Append(kOneRowRecord);
    StoreScoreFile(ScorePath(), table);
    EXPECT_EQ(ReadBytes(ScorePath()), kOneRowScores);
}

TEST_F(ScoreFileTest, FailedWriteThrowsAndKeepsTheOldFile) {
    WriteBytes(ScorePath(), kOneRowScores);
    const ScoreRecord longNamedGame{0, "Sea.jpg", std::string(500, 'n'), 1, 1, "2006.01.31"};
    {
        FileSizeLimit fullDisk(200);
        EXPECT_THROW(StoreFinishedGame(ScorePath(), longNamedGame), FileError);
    }
    EXPECT_EQ(ReadBytes(ScorePath()), kOneRowScores);
}

TEST_F(ScoreFileTest, ReadOnlyDirectoryRefusesTheWriteAndKeepsTheOldFile) {
    if (geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
    WriteBytes(ScorePath(), kOneRowScores);
    std::filesystem::permissions(
        Dir(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_THROW(StoreFinishedGame(ScorePath(), kLakeGame), FileError);
    EXPECT_EQ(ReadBytes(ScorePath()), kOneRowScores);
}

TEST_F(ScoreFileTest, ScoreFileBelowARegularFileCannotBeStored) {
    WriteBytes(PathOf("plain"), {1});
    EXPECT_THROW(StoreFinishedGame(PathOf("plain/Score.dat"), kLakeGame), FileError);
    ScoreTable table;
    EXPECT_THROW(StoreScoreFile(PathOf("plain/Score.dat"), table), FileError);
}

}  // namespace
