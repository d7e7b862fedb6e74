#include <gtest/gtest.h>

#include <stdexcept>

#include "core/io/FileError.h"
#include "core/package/ImagePackage.h"
#include "support/ByteFiles.h"
#include "support/FileSizeLimit.h"
#include "support/TempDirTest.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// One entry "A.jpg" holding FF D8 FF: 24 bytes.
const Bytes kOneEntry =
    Hex("01 00 00 00"     // entry count 1
        "05 00 00 00"     // name length 5
        "41 2E 6A 70 67"  // "A.jpg"
        "03 00 00 00"     // data length 3
        "00 00 00 00"     // reserved
        "FF D8 FF");      // data of A.jpg

// "A.jpg" (FF D8 FF, reserved 11223344) and "B" (AA BB, reserved 0): 39 bytes.
const Bytes kTwoEntries =
    Hex("02 00 00 00"                                            // entry count 2
        "05 00 00 00  41 2E 6A 70 67  03 00 00 00  44 33 22 11"  // A.jpg header
        "01 00 00 00  42              02 00 00 00  00 00 00 00"  // B header
        "FF D8 FF"                                               // data of A.jpg, offsets 34..36
        "AA BB");                                                // data of B, offsets 37..38

Bytes Prefix(const Bytes& bytes, std::size_t length) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

std::vector<std::string> NamesOf(const ImagePackage& package) {
    std::vector<std::string> names;
    package.GetNames(names);
    return names;
}

void ExpectDamagedWithEntries(ImagePackage& package, const Bytes& file, std::size_t entries) {
    EXPECT_FALSE(package.LoadFromBytes(file));
    EXPECT_FALSE(package.Damage().empty());
    EXPECT_EQ(package.Entries().size(), entries);
}

class ImagePackageFileTest : public TempDirTest {};

TEST(ImagePackageTest, WorkedExampleLoadsAsOneEntry) {
    ImagePackage package;
    ASSERT_TRUE(package.LoadFromBytes(kOneEntry));
    EXPECT_TRUE(package.Damage().empty());
    ASSERT_EQ(package.Entries().size(), 1u);
    EXPECT_EQ(package.Entries()[0].name, "A.jpg");
    EXPECT_EQ(package.Entries()[0].reserved, 0u);
    EXPECT_EQ(*package.FindData("A.jpg"), Hex("FF D8 FF"));
    EXPECT_EQ(NamesOf(package), std::vector<std::string>{"A.jpg"});
}

TEST(ImagePackageTest, SingleEntryWritesWorkedExampleBytes) {
    ImagePackage package;
    package.AddEntry("A.jpg", Hex("FF D8 FF"));
    EXPECT_EQ(package.ToBytes(), kOneEntry);
}

TEST(ImagePackageTest, RoundTripKeepsReservedWordsAndOrder) {
    ImagePackage package;
    ASSERT_TRUE(package.LoadFromBytes(kTwoEntries));
    ASSERT_EQ(package.Entries().size(), 2u);
    EXPECT_EQ(package.Entries()[0].reserved, 0x11223344u);
    EXPECT_EQ(NamesOf(package), (std::vector<std::string>{"A.jpg", "B"}));
    EXPECT_EQ(package.ToBytes(), kTwoEntries);
}

TEST(ImagePackageTest, ZeroOrNegativeCountIsAnEmptyPackage) {
    for (const Bytes& file : {Hex("00 00 00 00"), Hex("FF FF FF FF"), Hex("00 00 00 80")}) {
        ImagePackage package;
        EXPECT_TRUE(package.LoadFromBytes(file));
        EXPECT_TRUE(package.Entries().empty());
        EXPECT_TRUE(package.Damage().empty());
    }
}

TEST(ImagePackageTest, EntryWithNoDataIsWrittenAsHeaderOnly) {
    const Bytes file =
        Hex("01 00 00 00"     // entry count 1
            "05 00 00 00"     // name length 5
            "45 2E 6A 70 67"  // "E.jpg"
            "00 00 00 00"     // data length 0
            "07 00 00 00");   // reserved 7, and no data block
    ImagePackage package;
    ASSERT_TRUE(package.LoadFromBytes(file));
    ASSERT_EQ(package.Entries().size(), 1u);
    ASSERT_NE(package.FindData("E.jpg"), nullptr);
    EXPECT_TRUE(package.FindData("E.jpg")->empty());
    EXPECT_EQ(package.ToBytes(), file);
}

TEST(ImagePackageTest, EveryTruncationOfWorkedExampleIsDamagedAndEmpty) {
    for (std::size_t length = 0; length < kOneEntry.size(); ++length) {
        SCOPED_TRACE("truncated to " + std::to_string(length) + " bytes");
        ImagePackage package;
        ExpectDamagedWithEntries(package, Prefix(kOneEntry, length), 0);
    }
}

TEST(ImagePackageTest, TruncatedPackageKeepsOnlyEntriesReadWhole) {
    for (std::size_t length = 1; length < kTwoEntries.size(); ++length) {
        SCOPED_TRACE("truncated to " + std::to_string(length) + " bytes");
        ImagePackage package;
        ExpectDamagedWithEntries(package, Prefix(kTwoEntries, length), length >= 37 ? 1 : 0);
        if (length >= 37) {
            EXPECT_EQ(*package.FindData("A.jpg"), Hex("FF D8 FF"));
        }
    }
}

TEST(ImagePackageTest, HugeCountIsDamageNotAnAllocation) {
    ImagePackage package;
    ExpectDamagedWithEntries(package,
                             Hex("FF FF FF 7F"  // entry count 2147483647
                                 "05 00 00 00  41 2E 6A 70 67  03 00 00 00  00 00 00 00  FF D8 FF"),
                             0);
}

TEST(ImagePackageTest, DataLengthBeyondTheFileIsDamage) {
    ImagePackage package;
    ExpectDamagedWithEntries(package,
                             Hex("01 00 00 00  05 00 00 00  41 2E 6A 70 67"
                                 "FF FF FF FF"  // data length 4294967295
                                 "00 00 00 00  FF D8 FF"),
                             0);
}

TEST(ImagePackageTest, NameLengthOutsideZeroTo127IsDamage) {
    for (const char* length : {"FF FF FF FF", "00 00 00 80", "80 00 00 00", "FF FF FF 7F"}) {
        SCOPED_TRACE(length);
        // A name of 128 bytes really follows, so only the limit can reject it.
        const Bytes file = Hex(std::string("01 00 00 00") + length + std::string(256, '7') +
                               "00 00 00 00  00 00 00 00");
        ImagePackage package;
        ExpectDamagedWithEntries(package, file, 0);
    }
}

TEST(ImagePackageTest, NameOf127BytesLoads) {
    const Bytes file =
        Hex("01 00 00 00  7F 00 00 00" + std::string(254, '7') + "00 00 00 00  00 00 00 00");
    ImagePackage package;
    ASSERT_TRUE(package.LoadFromBytes(file));
    ASSERT_EQ(package.Entries().size(), 1u);
    EXPECT_EQ(package.Entries()[0].name, std::string(127, 'w'));
}

TEST(ImagePackageTest, LoadingAGoodPackageClearsEarlierDamageAndEntries) {
    ImagePackage package;
    package.LoadFromBytes(Prefix(kTwoEntries, 38));
    ASSERT_TRUE(package.LoadFromBytes(kOneEntry));
    EXPECT_TRUE(package.Damage().empty());
    EXPECT_EQ(NamesOf(package), std::vector<std::string>{"A.jpg"});
}

TEST(ImagePackageTest, DuplicateNamesActOnTheFirstEntry) {
    ImagePackage package;
    package.AddEntry("Sea.jpg", {1});
    package.AddEntry("Sea.jpg", {2});
    EXPECT_EQ(*package.FindData("Sea.jpg"), Bytes{1});
    EXPECT_TRUE(package.Remove("Sea.jpg"));
    EXPECT_EQ(*package.FindData("Sea.jpg"), Bytes{2});
    EXPECT_TRUE(package.Remove("Sea.jpg"));
    EXPECT_FALSE(package.Remove("Sea.jpg"));
    EXPECT_EQ(package.FindData("Sea.jpg"), nullptr);
}

TEST(ImagePackageTest, LookupsAreExactAndCaseSensitive) {
    ImagePackage package;
    package.AddEntry("Sea.jpg", {1});
    EXPECT_EQ(package.FindData("sea.jpg"), nullptr);
    EXPECT_EQ(package.FindData("Sea.JPG"), nullptr);
    EXPECT_EQ(package.FindData("Sea.jpg "), nullptr);
    EXPECT_FALSE(package.Remove("sea.jpg"));
    EXPECT_EQ(package.Entries().size(), 1u);
}

TEST(ImagePackageTest, GetNamesReplacesTheListInPackageOrder) {
    ImagePackage package;
    package.AddEntry("b.jpg", {});
    package.AddEntry("a.jpg", {});
    std::vector<std::string> names{"stale"};
    package.GetNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"b.jpg", "a.jpg"}));
}

TEST(ImagePackageTest, AddEntryRejectsNamesOver127Bytes) {
    ImagePackage package;
    EXPECT_THROW(package.AddEntry(std::string(128, 'n'), {}), std::invalid_argument);
    EXPECT_NO_THROW(package.AddEntry(std::string(127, 'n'), {}));
    EXPECT_EQ(package.Entries().size(), 1u);
}

TEST_F(ImagePackageFileTest, LoadReadsTheWorkedExampleFile) {
    WriteBytes(PathOf("Pic.dat"), kOneEntry);
    ImagePackage package;
    EXPECT_TRUE(package.Load(PathOf("Pic.dat")));
    EXPECT_EQ(NamesOf(package), std::vector<std::string>{"A.jpg"});
}

TEST_F(ImagePackageFileTest, LoadOfMissingFileAfterGoodLoadLeavesPackageEmpty) {
    WriteBytes(PathOf("Pic.dat"), kTwoEntries);
    ImagePackage package;
    ASSERT_TRUE(package.Load(PathOf("Pic.dat")));
    EXPECT_FALSE(package.Load(PathOf("Missing.dat")));
    EXPECT_TRUE(package.Entries().empty());
}

TEST_F(ImagePackageFileTest, SaveWritesWorkedExampleAndLeavesNoOtherFile) {
    ImagePackage package;
    package.AddEntry("A.jpg", Hex("FF D8 FF"));
    EXPECT_TRUE(package.Save(PathOf("Pic.dat")));
    EXPECT_EQ(ReadBytes(PathOf("Pic.dat")), kOneEntry);
    EXPECT_EQ(FileNamesIn(Dir()), std::vector<std::string>{"Pic.dat"});
}

TEST_F(ImagePackageFileTest, SaveOfEmptyPackageWritesNothing) {
    WriteBytes(PathOf("Pic.dat"), kTwoEntries);
    ImagePackage package;
    EXPECT_FALSE(package.Save(PathOf("Pic.dat")));
    EXPECT_EQ(ReadBytes(PathOf("Pic.dat")), kTwoEntries);
    EXPECT_FALSE(package.Save(PathOf("New.dat")));
    EXPECT_FALSE(std::filesystem::exists(PathOf("New.dat")));
}

TEST_F(ImagePackageFileTest, SaveOverDamagedFileKeepsTheOriginalAside) {
    const Bytes damaged = Prefix(kTwoEntries, 38);
    WriteBytes(PathOf("Pic.dat"), damaged);
    ImagePackage package;
    EXPECT_FALSE(package.Load(PathOf("Pic.dat")));
    ASSERT_TRUE(package.Save(PathOf("Pic.dat")));
    EXPECT_EQ(ReadBytes(PathOf("Pic.dat.damaged")), damaged);
    EXPECT_EQ(ReadBytes(PathOf("Pic.dat")), package.ToBytes());

    package.AddEntry("C.jpg", {3});
    ASSERT_TRUE(package.Save(PathOf("Pic.dat")));
    EXPECT_EQ(ReadBytes(PathOf("Pic.dat.damaged")), damaged);
}

TEST_F(ImagePackageFileTest, FailedSaveThrowsAndKeepsTheOldFile) {
    WriteBytes(PathOf("Pic.dat"), kOneEntry);
    ImagePackage package;
    package.AddEntry("Big.jpg", Bytes(4096, 0xAB));
    {
        FileSizeLimit fullDisk(100);
        EXPECT_THROW(package.Save(PathOf("Pic.dat")), FileError);
    }
    EXPECT_EQ(ReadBytes(PathOf("Pic.dat")), kOneEntry);
}

TEST_F(ImagePackageFileTest, SaveBelowARegularFileThrows) {
    WriteBytes(PathOf("plain"), {1});
    ImagePackage package;
    package.AddEntry("A.jpg", {1});
    EXPECT_THROW(package.Save(PathOf("plain/Pic.dat")), FileError);
}

TEST_F(ImagePackageFileTest, AddFileAppendsTheFileBytesUnderItsName) {
    const Bytes picture = Hex("FF D8 FF E0 00 10");
    WriteBytes(PathOf("Lake.jpg"), picture);
    ImagePackage package;
    package.AddEntry("First.jpg", {1});
    EXPECT_TRUE(package.AddFile(Dir().string() + "/", "Lake.jpg"));
    EXPECT_EQ(NamesOf(package).back(), "Lake.jpg");
    EXPECT_EQ(*package.FindData("Lake.jpg"), picture);
    EXPECT_EQ(ReadBytes(PathOf("Lake.jpg")), picture);
}

TEST_F(ImagePackageFileTest, AddFileThatCannotBeReadThrowsAndAddsNothing) {
    ImagePackage package;
    EXPECT_THROW(package.AddFile(Dir().string() + "/", "Missing.jpg"), FileError);
    const std::string longName(124, 'n');
    WriteBytes(PathOf(longName + ".jpg"), {1});
    EXPECT_THROW(package.AddFile(Dir().string() + "/", longName + ".jpg"), FileError);
    EXPECT_TRUE(package.Entries().empty());
}

}  // namespace
