#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string_view>

#include "core/io/FileError.h"
#include "core/io/FileIO.h"
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

// Five entries, "P0.jpg" to "P4.jpg", of 1,000 distinct bytes each.
Bytes FiveEntries() {
    ImagePackage package;
    for (int i = 0; i < 5; ++i) {
        Bytes data(1000);
        for (std::size_t k = 0; k < data.size(); ++k)
            data[k] = static_cast<std::uint8_t>(k * 7 + i);
        package.AddEntry(std::string("P").append(std::to_string(i)).append(".jpg"), data,
                         static_cast<std::uint32_t>(i));
    }
    return package.ToBytes();
}

// A thousand pictures with names of 120 bytes: headers of 132,004 bytes, more than two reads
// of the file's read buffer.
Bytes ThousandLongNames() {
    ImagePackage package;
    for (int i = 0; i < 1000; ++i) {
        std::string name = std::to_string(i);
        name.insert(0, 120 - name.size(), 'n');
        package.AddEntry(name, {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 8)});
    }
    return package.ToBytes();
}

class ImagePackageFileTest : public TempDirTest {
protected:
    // Cuts the file to size in place, as another program could while the game runs.
    void CutShort(const std::string& name, std::size_t size) {
        std::filesystem::resize_file(PathOf(name), size);
    }
    // Writes bytes over the file in place and marks it as changed a second later, as a
    // program would that rewrote it after the game loaded it.
    void RewriteInPlace(const std::string& name, const Bytes& bytes) {
        std::ofstream(PathOf(name), std::ios::binary | std::ios::in)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        std::filesystem::last_write_time(
            PathOf(name), std::filesystem::last_write_time(PathOf(name)) + std::chrono::seconds(1));
    }
};

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

TEST_F(ImagePackageFileTest, ReadingFromTheFileWhenNeededGivesWhatAFullReadGives) {
    const Bytes duplicates =
        Hex("02 00 00 00  01 00 00 00 41  01 00 00 00  01 00 00 00"  // "A", 1 byte, reserved 1
            "01 00 00 00 41  02 00 00 00  02 00 00 00"               // "A" again, 2 bytes
            "11  22 33");
    std::vector<Bytes> files{kOneEntry,     kTwoEntries,         duplicates,
                             FiveEntries(), ThousandLongNames(), Hex("00 00 00 00")};
    for (std::size_t length = 0; length < kTwoEntries.size(); ++length)
        files.push_back(Prefix(kTwoEntries, length));
    for (const Bytes& file : files) {
        SCOPED_TRACE(::testing::PrintToString(file));
        WriteBytes(PathOf("Pic.dat"), file);
        ImagePackage full;
        ImagePackage lazy;
        EXPECT_EQ(lazy.Load(PathOf("Pic.dat")), full.LoadFromBytes(file));
        EXPECT_EQ(lazy.Damage(), full.Damage());
        EXPECT_EQ(NamesOf(lazy), NamesOf(full));
        // Lookups first, in an order unlike the file's, then the whole package.
        std::vector<std::string> names = NamesOf(full);
        std::reverse(names.begin(), names.end());
        for (const std::string& name : names) {
            ASSERT_NE(lazy.FindData(name), nullptr);
            EXPECT_EQ(*lazy.FindData(name), *full.FindData(name));
        }
        EXPECT_EQ(lazy.ToBytes(), full.ToBytes());
        ASSERT_EQ(lazy.Entries().size(), full.Entries().size());
        for (std::size_t i = 0; i < full.Entries().size(); ++i) {
            EXPECT_EQ(lazy.Entries()[i].name, full.Entries()[i].name);
            EXPECT_EQ(lazy.Entries()[i].reserved, full.Entries()[i].reserved);
            EXPECT_EQ(lazy.Entries()[i].data, full.Entries()[i].data);
        }
    }
}

TEST_F(ImagePackageFileTest, SaveStreamsTheEntriesFromTheFileAndReadsTheNewFileAfterwards) {
    const Bytes five = FiveEntries();
    WriteBytes(PathOf("Pic.dat"), five);
    ImagePackage expected;
    expected.LoadFromBytes(five);
    expected.Remove("P1.jpg");
    expected.AddEntry("New.jpg", {9, 8, 7}, 5);

    ImagePackage package;
    ASSERT_TRUE(package.Load(PathOf("Pic.dat")));
    ASSERT_NE(package.FindData("P3.jpg"), nullptr);
    package.Remove("P1.jpg");
    package.AddEntry("New.jpg", {9, 8, 7}, 5);
    ASSERT_TRUE(package.Save(PathOf("Pic.dat")));
    EXPECT_EQ(ReadBytes(PathOf("Pic.dat")), expected.ToBytes());
    EXPECT_EQ(FileNamesIn(Dir()), std::vector<std::string>{"Pic.dat"});

    // The old file is gone; every entry, the added one included, comes from the new one.
    std::filesystem::remove(PathOf("Pic.dat"));
    for (const std::string& name : NamesOf(expected))
        EXPECT_EQ(*package.FindData(name), *expected.FindData(name));
    ASSERT_TRUE(package.Save(PathOf("Again.dat")));
    EXPECT_EQ(ReadBytes(PathOf("Again.dat")), expected.ToBytes());
}

TEST_F(ImagePackageFileTest, AFileReplacedByRenameIsStillReadAsItWasOpened) {
    const Bytes five = FiveEntries();
    WriteBytes(PathOf("Pic.dat"), five);
    ImagePackage package;
    ASSERT_TRUE(package.Load(PathOf("Pic.dat")));
    WriteBytes(PathOf("Other.dat"), kTwoEntries);
    std::filesystem::rename(PathOf("Other.dat"), PathOf("Pic.dat"));

    ImagePackage original;
    original.LoadFromBytes(five);
    for (const std::string& name : NamesOf(original))
        EXPECT_EQ(*package.FindData(name), *original.FindData(name));
    EXPECT_EQ(package.ToBytes(), five);
}

TEST_F(ImagePackageFileTest, AFileChangedInPlaceWhileLoadedIsAnErrorAtSaveAndLosesNothing) {
    const Bytes five = FiveEntries();
    // Cut inside the data, cut to nothing, and the same length with other bytes.
    const std::vector<std::pair<const char*, std::size_t>> cuts{
        {"cut inside the data", five.size() - 1500}, {"cut to nothing", 0}, {"rewritten", 0}};
    for (const auto& [what, size] : cuts) {
        SCOPED_TRACE(what);
        WriteBytes(PathOf("Pic.dat"), five);
        ImagePackage package;
        ASSERT_TRUE(package.Load(PathOf("Pic.dat")));
        const Bytes shown = *package.FindData("P4.jpg");
        if (std::string(what) == "rewritten") {
            Bytes other = five;
            other.back() ^= 0xFF;
            RewriteInPlace("Pic.dat", other);
        } else {
            CutShort("Pic.dat", size);
        }
        const Bytes onDisk = ReadBytes(PathOf("Pic.dat"));

        // What was read stays; what was not is a damaged entry, not a crash.
        EXPECT_EQ(*package.FindData("P4.jpg"), shown);
        EXPECT_EQ(package.FindData("P0.jpg"), nullptr);
        EXPECT_EQ(NamesOf(package).size(), 5u);
        package.AddEntry("New.jpg", {1, 2, 3});
        EXPECT_THROW(package.Save(PathOf("Pic.dat")), FileError);
        EXPECT_THROW(package.ToBytes(), FileError);
        EXPECT_EQ(ReadBytes(PathOf("Pic.dat")), onDisk);
        EXPECT_EQ(FileNamesIn(Dir()), std::vector<std::string>{"Pic.dat"});
    }
}

TEST_F(ImagePackageFileTest, AFileRewrittenInPlaceIsAnErrorAtSaveWithNoPictureLookedAt) {
    const Bytes five = FiveEntries();
    WriteBytes(PathOf("Pic.dat"), five);
    ImagePackage package;
    ASSERT_TRUE(package.Load(PathOf("Pic.dat")));
    Bytes other = five;
    other.back() ^= 0xFF;
    RewriteInPlace("Pic.dat", other);
    package.AddEntry("New.jpg", {1, 2, 3});
    EXPECT_THROW(package.Save(PathOf("Pic.dat")), FileError);
    EXPECT_EQ(ReadBytes(PathOf("Pic.dat")), other);
    EXPECT_EQ(FileNamesIn(Dir()), std::vector<std::string>{"Pic.dat"});
}

// Cuts the file named here short when the save writes its first bytes: after the save
// checked the file, before it copies the entries from it.
std::string g_cutAtFirstWrite;

int CutAtFirstWrite(const char* call) {
    if (!g_cutAtFirstWrite.empty() && std::string_view(call) == "write") {
        std::filesystem::resize_file(g_cutAtFirstWrite, 3000);
        g_cutAtFirstWrite.clear();
    }
    return 0;
}

TEST_F(ImagePackageFileTest, AFileCutBetweenTheCheckAndTheReadIsAnErrorAtSave) {
    WriteBytes(PathOf("Pic.dat"), FiveEntries());
    ImagePackage package;
    ASSERT_TRUE(package.Load(PathOf("Pic.dat")));
    package.AddEntry("New.jpg", {1, 2, 3});
    g_cutAtFirstWrite = PathOf("Pic.dat");
    SetWriteStepHook(CutAtFirstWrite);
    EXPECT_THROW(package.Save(PathOf("Pic.dat")), FileError);
    SetWriteStepHook(nullptr);
    EXPECT_EQ(ReadBytes(PathOf("Pic.dat")).size(), 3000u);
    EXPECT_EQ(FileNamesIn(Dir()), std::vector<std::string>{"Pic.dat"});
}

}  // namespace
