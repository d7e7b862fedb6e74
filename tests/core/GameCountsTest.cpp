#include <gtest/gtest.h>

#include <ostream>

#include "core/board/GameCounts.h"
#include "core/scores/GameRecord.h"

namespace {

TEST(GameCountsTest, StartCountsFromZeroWithTheClockRunning) {
    GameCounts counts;
    EXPECT_FALSE(counts.ClockRuns());
    counts.Start();
    counts.AddSteps(3);
    counts.Tick();
    counts.Start();  // New during a game starts over
    EXPECT_EQ(counts.Steps(), 0);
    EXPECT_EQ(counts.Seconds(), 0);
    EXPECT_TRUE(counts.ClockRuns());
}

TEST(GameCountsTest, AStoppedClockKeepsItsSecondsAndTicksNoMore) {
    GameCounts counts;
    counts.Start();
    counts.Tick();
    counts.Tick();
    counts.AddSteps(5);
    counts.Stop();
    counts.Tick();
    EXPECT_FALSE(counts.ClockRuns());
    EXPECT_EQ(counts.Seconds(), 2);
    EXPECT_EQ(counts.Steps(), 5);

    counts.Reset();
    EXPECT_EQ(counts.Steps(), 0);
    EXPECT_EQ(counts.Seconds(), 0);
    EXPECT_FALSE(counts.ClockRuns());
}

TEST(GameCountsTest, BothCountsStopAt999) {
    GameCounts counts;
    counts.Start();
    counts.AddSteps(998);
    counts.AddSteps(3);
    for (int i = 0; i < 1005; ++i) counts.Tick();
    EXPECT_EQ(counts.Steps(), 999);
    EXPECT_EQ(counts.Seconds(), 999);
    counts.AddSteps(2147483647);  // must not wrap
    EXPECT_EQ(counts.Steps(), 999);
}

struct RecordCase {
    GridSize size;
    std::uint32_t gridIndex;
};

// Names the case after its size, so that the test's name is the same in every build.
void PrintTo(const RecordCase& c, std::ostream* os) { *os << c.size.rows << " x " << c.size.cols; }

class GameRecordTest : public testing::TestWithParam<RecordCase> {};

TEST_P(GameRecordTest, CarriesTheSizeIndexCountsNameAndDate) {
    GameCounts counts;
    counts.Start();
    counts.AddSteps(57);
    for (int i = 0; i < 83; ++i) counts.Tick();
    counts.Stop();
    const ScoreRecord record =
        GameRecord(counts, GetParam().size, "Sea.jpg", " ann ", "2005.12.15");
    EXPECT_EQ(record,
              (ScoreRecord{GetParam().gridIndex, "Sea.jpg", " ann ", 57, 83, "2005.12.15"}));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, GameRecordTest,
    testing::Values(RecordCase{{.rows = 3, .cols = 4}, 0}, RecordCase{{.rows = 5, .cols = 7}, 4},
                    RecordCase{{.rows = 6, .cols = 8}, 5},
                    // Rows and columns the other way round are no size of the six.
                    RecordCase{{.rows = 4, .cols = 3}, 0xFFFFFFFF}));

}  // namespace
