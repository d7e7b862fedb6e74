#include <gtest/gtest.h>

#include <ctime>

#include "ScoreFixtures.h"
#include "core/io/FileError.h"
#include "core/scores/Archive.h"
#include "core/scores/ScoreTable.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Store(ScoreTable& table) {
    Archive archive("Score.dat");
    table.Serialize(archive);
    return archive.Stored();
}

void Load(ScoreTable& table, const Bytes& bytes) {
    Archive archive(bytes, "Score.dat");
    table.Serialize(archive);
}

ScoreRecord Game(std::string user, std::uint32_t steps, std::uint32_t seconds,
                 std::string date = "2005.12.06", std::string picture = "Sea.jpg",
                 std::uint32_t grid = 0) {
    return {grid, std::move(picture), std::move(user), steps, seconds, std::move(date)};
}

std::vector<std::string> Users(const ScoreTable& table) {
    std::vector<std::string> users;
    for (std::size_t row = 0; row < table.GetCount(); ++row)
        users.push_back(table.GetAt(row).userName);
    return users;
}

TEST(ScoreTableTest, WorkedExampleLoadsAsOneRow) {
    ScoreTable table;
    Load(table, kOneRowScores);
    ASSERT_EQ(table.GetCount(), 1u);
    EXPECT_EQ(table.GetAt(0), kOneRowRecord);
}

TEST(ScoreTableTest, WorkedExampleStoresByteForByte) {
    ScoreTable table;
    table.Append(kOneRowRecord);
    EXPECT_EQ(Store(table), kOneRowScores);
}

TEST(ScoreTableTest, EmptyTableStoresAsFourZeroBytes) {
    ScoreTable table;
    EXPECT_EQ(Store(table), Hex("00 00 00 00"));
}

TEST(ScoreTableTest, LoadingAppendsToTheRowsAlreadyThere) {
    ScoreTable table;
    Load(table, kTwoRowScores);
    Load(table, kTwoRowScores);
    ASSERT_EQ(table.GetCount(), 4u);
    EXPECT_EQ(Users(table), (std::vector<std::string>{"player", "ann", "player", "ann"}));
    EXPECT_EQ(table.GetAt(3), Game("ann", 10, 95, "2006.01.31", "Sea.jpg", 5));
}

TEST(ScoreTableTest, NegativeCountLoadsNoRows) {
    ScoreTable table;
    Load(table, Hex("FF FF FF FF"));
    EXPECT_EQ(table.GetCount(), 0u);
}

TEST(ScoreTableTest, EveryTruncationThrowsKeepingTheRowsReadWhole) {
    for (std::size_t length = 0; length < kTwoRowScores.size(); ++length) {
        SCOPED_TRACE("truncated to " + std::to_string(length) + " bytes");
        ScoreTable table;
        EXPECT_THROW(Load(table, Bytes(kTwoRowScores.begin(), kTwoRowScores.begin() + length)),
                     FileError);
        EXPECT_EQ(table.GetCount(), length >= 42 ? 1u : 0u);
    }
}

TEST(ScoreTableTest, HugeCountThrowsAfterTheRowsPresent) {
    Bytes bytes = kOneRowScores;
    bytes[0] = 0xFF, bytes[1] = 0xFF, bytes[2] = 0xFF, bytes[3] = 0x7F;  // 2147483647 rows
    ScoreTable table;
    EXPECT_THROW(Load(table, bytes), FileError);
    EXPECT_EQ(table.GetCount(), 1u);
}

TEST(ScoreTableTest, SixteenBitNameLoadsAsUtf8AndStoresAsBytes) {
    const Bytes file =
        Hex("01 00 00 00  00 00 00 00  07 53 65 61 2E 6A 70 67"
            "FF FE FF  02  53 00 E9 00"  // user name "Sé" in 16-bit characters
            "39 00 00 00  53 00 00 00  0A 32 30 30 35 2E 31 32 2E 30 36");
    ScoreTable table;
    Load(table, file);
    ASSERT_EQ(table.GetCount(), 1u);
    EXPECT_EQ(table.GetAt(0).userName, "S\xC3\xA9");
    EXPECT_EQ(Store(table), Hex("01 00 00 00  00 00 00 00  07 53 65 61 2E 6A 70 67"
                                "03  53 C3 A9"
                                "39 00 00 00  53 00 00 00  0A 32 30 30 35 2E 31 32 2E 30 36"));
}

TEST(ScoreTableTest, UserNamesOf254And255BytesRoundTrip) {
    ScoreTable table;
    table.Append(Game(std::string(254, 'u'), 1, 1));
    table.Append(Game(std::string(255, 'v'), 2, 2));
    const Bytes stored = Store(table);
    // The first name follows count, grid index and "Sea.jpg".
    EXPECT_EQ(stored[16], 0xFE);
    const std::size_t second = 16 + 1 + 254 + 8 + 11 + 4 + 8;
    EXPECT_EQ(Bytes(stored.begin() + second, stored.begin() + second + 3), Hex("FF FF 00"));
    ScoreTable loaded;
    Load(loaded, stored);
    EXPECT_EQ(Users(loaded), Users(table));
}

TEST(ScoreTableTest, RemoveAtMovesLaterRowsUp) {
    ScoreTable table;
    for (const char* user : {"a", "b", "c"}) table.Append(Game(user, 1, 1));
    table.RemoveAt(1);
    EXPECT_EQ(Users(table), (std::vector<std::string>{"a", "c"}));
}

TEST(ScoreTableTest, RemoveByPictureTakesEverySizeAndKeepsOtherRowsInOrder) {
    ScoreTable table;
    table.Append(Game("sea0", 1, 1, "2005.12.06", "Sea.jpg", 0));
    table.Append(Game("lake", 1, 1, "2005.12.06", "Lake.jpg", 0));
    table.Append(Game("sea5", 1, 1, "2005.12.06", "Sea.jpg", 5));
    table.Append(Game("lowercase", 1, 1, "2005.12.06", "sea.jpg", 0));
    table.Append(Game("sea3", 1, 1, "2005.12.06", "Sea.jpg", 3));
    table.Append(Game("hill", 1, 1, "2005.12.06", "Hill.jpg", 2));
    table.RemoveByPicture("Sea.jpg");
    EXPECT_EQ(Users(table), (std::vector<std::string>{"lake", "lowercase", "hill"}));
    table.RemoveByPicture("None.jpg");
    EXPECT_EQ(table.GetCount(), 3u);
}

TEST(ScoreTableTest, StepRankingBreaksTiesBySecondsThenDateThenStoringOrder) {
    ScoreTable table;
    table.Append(Game("stored first", 57, 83, "2005.12.06"));
    table.Append(Game("fewer seconds", 57, 80, "2005.12.07"));
    table.Append(Game("earlier date", 57, 83, "2005.12.05"));
    table.Append(Game("stored later", 57, 83, "2005.12.06"));
    table.Append(Game("fewest moves", 12, 900, "2010.01.01"));
    const ScoreTable ranked = table.RankRows("Sea.jpg", 0, SortBy::Step);
    EXPECT_EQ(Users(ranked),
              (std::vector<std::string>{"fewest moves", "fewer seconds", "earlier date",
                                        "stored first", "stored later"}));
    EXPECT_EQ(Users(table)[0], "stored first");  // the table itself stays in storing order
}

TEST(ScoreTableTest, TimeRankingPutsSecondsFirst) {
    ScoreTable table;
    table.Append(Game("ten moves", 10, 95));
    table.Append(Game("twenty moves", 20, 90));
    table.Append(Game("same time fewer moves", 15, 90));
    EXPECT_EQ(Users(table.RankRows("Sea.jpg", 0, SortBy::Time)),
              (std::vector<std::string>{"same time fewer moves", "twenty moves", "ten moves"}));
    EXPECT_EQ(Users(table.RankRows("Sea.jpg", 0, SortBy::Step)),
              (std::vector<std::string>{"ten moves", "same time fewer moves", "twenty moves"}));
}

TEST(ScoreTableTest, RankingSelectsExactPictureAndSize) {
    ScoreTable table;
    table.Append(Game("other size", 1, 1, "2005.12.06", "Sea.jpg", 1));
    table.Append(Game("other case", 1, 1, "2005.12.06", "sea.jpg", 0));
    table.Append(Game("match", 50, 50, "2005.12.06", "Sea.jpg", 0));
    table.Append(Game("other picture", 1, 1, "2005.12.06", "Lake.jpg", 0));
    const ScoreTable ranked = table.RankRows("Sea.jpg", 0, SortBy::Step);
    ASSERT_EQ(ranked.GetCount(), 1u);
    EXPECT_EQ(ranked.GetAt(0), table.GetAt(2));
    EXPECT_EQ(table.RankRows("Sea.jpg", 4, SortBy::Time).GetCount(), 0u);
    EXPECT_EQ(table.RankRows("Pond.jpg", 0, SortBy::Step).GetCount(), 0u);
}

TEST(ScoreTableTest, CountsAbove999RankByTheirText) {
    // Only an edited file holds such counts; "1000..." sorts before "200...".
    ScoreTable table;
    table.Append(Game("two hundred", 200, 5));
    table.Append(Game("a thousand", 1000, 5));
    EXPECT_EQ(Users(table.RankRows("Sea.jpg", 0, SortBy::Step)),
              (std::vector<std::string>{"a thousand", "two hundred"}));
}

// The local date as the C library writes it: four-digit year, two-digit month and day.
std::string LocalDate(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char text[32];
    return std::string(text, std::strftime(text, sizeof text, "%Y.%m.%d", &local));
}

TEST(ScoreTableTest, TodayIsTheLocalDateAsStored) {
    const std::time_t before = std::time(nullptr);
    const std::string today = ScoreTable::Today();
    const std::time_t after = std::time(nullptr);
    EXPECT_TRUE(today == LocalDate(before) || today == LocalDate(after)) << today;
}

}  // namespace
