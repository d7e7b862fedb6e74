#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "core/library/PictureLibrary.h"
#include "core/scores/ScoreFile.h"
#include "support/ByteFiles.h"
#include "support/FileSizeLimit.h"
#include "support/TempDirTest.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Outcome = AddResult::Outcome;
using Removal = RemoveResult::Outcome;

const std::vector<std::string> kLibrary{"Harbour.jpg", "Meadow.jpg", "Reef.jpg"};
const Bytes kJpeg = Hex("FF D8 FF E0  00 10 FF D9");

// The image readers' stand-in: gives one fixed answer and counts the files it was asked about.
struct FakeConverter {
    ImportedPicture answer;
    int calls = 0;

    PictureConverter Get() {
        return [this](const std::string&) {
            ++calls;
            return answer;
        };
    }
};

FakeConverter Converting(const Bytes& jpeg) {
    FakeConverter convert;
    convert.answer.jpeg = jpeg;
    return convert;
}

FakeConverter Refusing(ImportRefusal refusal, std::string detail = {}) {
    FakeConverter convert;
    convert.answer.refusal = refusal;
    convert.answer.detail = std::move(detail);
    return convert;
}

std::vector<std::string> NamesOf(const ImagePackage& package) {
    std::vector<std::string> names;
    package.GetNames(names);
    return names;
}

std::vector<ScoreRecord> RowsOf(const std::string& path) {
    ScoreTable table;
    LoadScoreFile(path, table);
    std::vector<ScoreRecord> rows;
    for (std::size_t i = 0; i < table.GetCount(); ++i) rows.push_back(table.GetAt(i));
    return rows;
}

ScoreRecord Row(std::uint32_t grid, const std::string& picture, const std::string& user) {
    return ScoreRecord{grid, picture, user, 10 + grid, 20 + grid, "2024.03.05"};
}

class PictureLibraryTest : public TempDirTest {
protected:
    std::string PicDat() const { return PathOf("Pic.dat"); }
    std::string ScoreDat() const { return PathOf("Score.dat"); }

    // Pic.dat with one small entry per name, its bytes the name's, and the library loaded.
    void Open(const std::vector<std::string>& names) {
        ImagePackage package;
        for (const std::string& name : names)
            package.AddEntry(name, Bytes(name.begin(), name.end()));
        package.Save(PicDat());
        ASSERT_TRUE(m_library.Load(PicDat()));
    }

    void WriteScores(const std::vector<ScoreRecord>& rows) const {
        ScoreTable table;
        for (const ScoreRecord& row : rows) table.Append(row);
        StoreScoreFile(ScoreDat(), table);
    }

    PictureLibrary m_library;
};

TEST_F(PictureLibraryTest, AddAppendsTheConvertedPictureAndSavesTheFile) {
    Open(kLibrary);
    FakeConverter convert = Converting(kJpeg);
    const AddResult result = m_library.Add("/photos/Beach.bmp", convert.Get());
    EXPECT_EQ(result.outcome, Outcome::Added);
    EXPECT_EQ(result.picture.libraryName, "Beach.jpg");
    EXPECT_FALSE(result.error);

    const std::vector<std::string> expected{"Harbour.jpg", "Meadow.jpg", "Reef.jpg", "Beach.jpg"};
    EXPECT_EQ(NamesOf(m_library.Package()), expected);
    ImagePackage onDisk;
    ASSERT_TRUE(onDisk.Load(PicDat()));
    EXPECT_EQ(NamesOf(onDisk), expected);
    EXPECT_EQ(*onDisk.FindData("Beach.jpg"), kJpeg);
    EXPECT_EQ(FileNamesIn(Dir()), (std::vector<std::string>{"Pic.dat", "Pic.dat.lock"}));
}

TEST_F(PictureLibraryTest, AMissingFileIsAnEmptyLibraryThatTheFirstAddCreates) {
    EXPECT_FALSE(m_library.Load(PicDat()));
    EXPECT_EQ(m_library.WriteBlock(), nullptr);
    FakeConverter convert = Converting(kJpeg);
    EXPECT_EQ(m_library.Add("Beach.bmp", convert.Get()).outcome, Outcome::Added);
    ImagePackage onDisk;
    ASSERT_TRUE(onDisk.Load(PicDat()));
    EXPECT_EQ(NamesOf(onDisk), std::vector<std::string>{"Beach.jpg"});
}

TEST_F(PictureLibraryTest, ChangesGoToTheSavePathInAFolderMadeForThemAndLeaveTheLoadedFile) {
    Open(kLibrary);
    const std::vector<std::uint8_t> installed = ReadBytes(PicDat());
    const std::string saved = PathOf("player/corvalin/Pic.dat");
    ASSERT_TRUE(m_library.Load(PicDat(), saved));
    FakeConverter convert = Converting(kJpeg);
    EXPECT_EQ(m_library.Add("Beach.bmp", convert.Get()).outcome, Outcome::Added);
    EXPECT_EQ(m_library.Remove("Meadow.jpg", ScoreDat()).outcome, Removal::Removed);

    EXPECT_EQ(ReadBytes(PicDat()), installed);
    ImagePackage onDisk;
    ASSERT_TRUE(onDisk.Load(saved));
    const std::vector<std::string> expected{"Harbour.jpg", "Reef.jpg", "Beach.jpg"};
    EXPECT_EQ(NamesOf(onDisk), expected);
}

TEST_F(PictureLibraryTest, RefusedFilesChangeNothingAndNameChecksComeBeforeConverting) {
    struct Case {
        const char* file;
        FakeConverter convert;
        ImportRefusal refusal;
        int conversions;
    };
    const std::string tooLong = "/photos/" + std::string(124, 'x') + ".bmp";  // 128-byte name
    Case cases[] = {
        {"/photos/Meadow.png", Converting(kJpeg), ImportRefusal::DuplicateName, 0},  // shown name
        {"/photos/Meadow", Converting(kJpeg), ImportRefusal::DuplicateName, 0},      // library name
        {tooLong.c_str(), Converting(kJpeg), ImportRefusal::NameTooLong, 0},
        {"/photos/Notes.txt", Refusing(ImportRefusal::InvalidFile), ImportRefusal::InvalidFile, 1},
        {"/photos/Fine.bmp", Refusing(ImportRefusal::NotConverted, "/tmp/x: disk full"),
         ImportRefusal::NotConverted, 1},
    };
    Open(kLibrary);
    const Bytes before = ReadBytes(PicDat());
    for (Case& test : cases) {
        SCOPED_TRACE(test.file);
        const AddResult result = m_library.Add(test.file, test.convert.Get());
        EXPECT_EQ(result.outcome, Outcome::Refused);
        EXPECT_EQ(result.picture.refusal, test.refusal);
        EXPECT_EQ(result.picture.libraryName, LibraryNameFor(test.file));
        EXPECT_EQ(result.picture.detail, test.convert.answer.detail);
        EXPECT_EQ(test.convert.calls, test.conversions);
        EXPECT_EQ(m_library.Package().ToBytes(), before);
        EXPECT_EQ(ReadBytes(PicDat()), before);
    }
}

TEST_F(PictureLibraryTest, AFailedSaveOfAnAddTakesTheEntryOutAgain) {
    Open(kLibrary);
    const Bytes before = ReadBytes(PicDat());
    FakeConverter convert = Converting(Bytes(4096, 0xAB));
    AddResult result;
    {
        FileSizeLimit fullDisk(before.size() + 100);
        result = m_library.Add("Beach.bmp", convert.Get());
    }
    EXPECT_EQ(result.outcome, Outcome::FileFailed);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->Path(), PicDat());
    EXPECT_EQ(m_library.Package().ToBytes(), before);
    EXPECT_EQ(ReadBytes(PicDat()), before);
    EXPECT_EQ(FileNamesIn(Dir()), (std::vector<std::string>{"Pic.dat", "Pic.dat.lock"}));
    // The library goes on: the next add, with room for it, is taken.
    EXPECT_EQ(m_library.Add("Beach.bmp", convert.Get()).outcome, Outcome::Added);
}

TEST_F(PictureLibraryTest, RemoveTakesThePictureAndEveryRowOfItsScores) {
    Open(kLibrary);
    const std::vector<ScoreRecord> kept{Row(1, "Harbour.jpg", "ann"), Row(3, "meadow.jpg", "bo"),
                                        Row(5, "Reef.jpg", "cy")};
    WriteScores(
        {Row(0, "Meadow.jpg", "gone"), kept[0], Row(5, "Meadow.jpg", "gone"), kept[1], kept[2]});
    const RemoveResult result = m_library.Remove("Meadow.jpg", ScoreDat());
    EXPECT_EQ(result.outcome, Removal::Removed);
    EXPECT_FALSE(result.error);
    const std::vector<std::string> left{"Harbour.jpg", "Reef.jpg"};
    EXPECT_EQ(NamesOf(m_library.Package()), left);
    ImagePackage onDisk;
    ASSERT_TRUE(onDisk.Load(PicDat()));
    EXPECT_EQ(NamesOf(onDisk), left);
    EXPECT_EQ(RowsOf(ScoreDat()), kept);
}

TEST_F(PictureLibraryTest, RemoveCreatesNoScoreFileWhereNoneWas) {
    Open(kLibrary);
    EXPECT_EQ(m_library.Remove("Reef.jpg", ScoreDat()).outcome, Removal::Removed);
    EXPECT_EQ(FileNamesIn(Dir()), (std::vector<std::string>{"Pic.dat", "Pic.dat.lock"}));
}

TEST_F(PictureLibraryTest, RemovalsThatChangeNothing) {
    struct Case {
        const char* what;
        std::vector<std::string> library;
        std::string name;
        Removal outcome;
    };
    const Case cases[] = {
        {"last picture", {"Only.jpg"}, "Only.jpg", Removal::LastPicture},
        {"no such name", kLibrary, "reef.jpg", Removal::NoSuchPicture},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        Open(test.library);
        WriteScores({Row(0, test.name, "ann")});
        const Bytes pictures = ReadBytes(PicDat());
        const Bytes scores = ReadBytes(ScoreDat());
        const RemoveResult result = m_library.Remove(test.name, ScoreDat());
        EXPECT_EQ(result.outcome, test.outcome);
        EXPECT_FALSE(result.PictureRemoved());
        EXPECT_EQ(m_library.Package().ToBytes(), pictures);
        EXPECT_EQ(ReadBytes(PicDat()), pictures);
        EXPECT_EQ(ReadBytes(ScoreDat()), scores);
    }
}

// Another writer (corvalin-dat, a second game) changed Pic.dat since the library loaded it:
// the checks are made again on what that writer left.
TEST_F(PictureLibraryTest, ChecksAreMadeAgainOnWhatAnotherWriterLeft) {
    const auto anotherWriterLeaves = [&](const std::vector<std::string>& names) {
        ImagePackage other;
        for (const std::string& name : names) other.AddEntry(name, Bytes(name.begin(), name.end()));
        other.Save(PicDat());
    };
    Open(kLibrary);
    anotherWriterLeaves({"Harbour.jpg", "Beach.jpg"});
    FakeConverter convert = Converting(kJpeg);
    const AddResult added = m_library.Add("/photos/Beach.bmp", convert.Get());
    EXPECT_EQ(added.outcome, Outcome::Refused);
    EXPECT_EQ(added.picture.refusal, ImportRefusal::DuplicateName);

    Open(kLibrary);
    anotherWriterLeaves({"Harbour.jpg", "Meadow.jpg"});
    EXPECT_EQ(m_library.Remove("Reef.jpg", ScoreDat()).outcome, Removal::NoSuchPicture);

    Open(kLibrary);
    anotherWriterLeaves({"Reef.jpg"});
    EXPECT_EQ(m_library.Remove("Reef.jpg", ScoreDat()).outcome, Removal::LastPicture);
    ImagePackage onDisk;
    onDisk.Load(PicDat());
    EXPECT_EQ(NamesOf(onDisk), std::vector<std::string>{"Reef.jpg"});
}

TEST_F(PictureLibraryTest, ADamagedScoreFileStopsTheRemovalBeforeAnythingChanges) {
    Open(kLibrary);
    const Bytes damaged = Hex("03 00 00 00  01");
    WriteBytes(ScoreDat(), damaged);
    const Bytes pictures = ReadBytes(PicDat());
    const RemoveResult result = m_library.Remove("Reef.jpg", ScoreDat());
    EXPECT_EQ(result.outcome, Removal::FileFailed);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->Path(), ScoreDat());
    EXPECT_EQ(m_library.Package().ToBytes(), pictures);
    EXPECT_EQ(ReadBytes(PicDat()), pictures);
    EXPECT_EQ(ReadBytes(ScoreDat()), damaged);
}

TEST_F(PictureLibraryTest, AFailedSaveOfARemovalPutsThePictureBackAndKeepsItsScores) {
    Open(kLibrary);
    WriteScores({Row(0, "Meadow.jpg", "ann")});
    const Bytes pictures = ReadBytes(PicDat());
    const Bytes scores = ReadBytes(ScoreDat());
    RemoveResult result;
    {
        FileSizeLimit fullDisk(8);
        result = m_library.Remove("Meadow.jpg", ScoreDat());
    }
    EXPECT_EQ(result.outcome, Removal::FileFailed);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->Path(), PicDat());
    EXPECT_EQ(m_library.Package().ToBytes(), pictures);
    EXPECT_EQ(ReadBytes(PicDat()), pictures);
    EXPECT_EQ(ReadBytes(ScoreDat()), scores);
}

TEST_F(PictureLibraryTest, AFailedScoreSaveLeavesThePictureRemovedAndItsRowsStored) {
    Open(kLibrary);
    // A long name makes Score.dat much larger than Pic.dat: room for one, not the other.
    WriteScores({Row(0, "Meadow.jpg", "ann"), Row(1, "Reef.jpg", std::string(2000, 'z'))});
    const Bytes scores = ReadBytes(ScoreDat());
    RemoveResult result;
    {
        FileSizeLimit fullDisk(1000);
        result = m_library.Remove("Meadow.jpg", ScoreDat());
    }
    EXPECT_EQ(result.outcome, Removal::ScoresKept);
    EXPECT_TRUE(result.PictureRemoved());
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->Path(), ScoreDat());
    ImagePackage onDisk;
    ASSERT_TRUE(onDisk.Load(PicDat()));
    EXPECT_EQ(NamesOf(onDisk), (std::vector<std::string>{"Harbour.jpg", "Reef.jpg"}));
    EXPECT_EQ(NamesOf(m_library.Package()), NamesOf(onDisk));
    EXPECT_EQ(ReadBytes(ScoreDat()), scores);
}

TEST_F(PictureLibraryTest, APackageThatCouldNotBeOpenedIsNeverWrittenOver) {
    struct Case {
        const char* what;
        std::function<void(const std::string& path)> spoil;
    };
    const Case cases[] = {
        {"link that leads to itself",
         [](const std::string& path) {
             std::filesystem::remove(path);
             std::filesystem::create_symlink("Pic.dat", path);
         }},
        {"no read permission",
         [](const std::string& path) { std::filesystem::permissions(path, {}); }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        if (std::string(test.what) == "no read permission" && ::geteuid() == 0)
            continue;  // permission bits do not stop root
        Open(kLibrary);
        WriteScores({Row(0, "Harbour.jpg", "ann")});
        test.spoil(PicDat());
        const Bytes scores = ReadBytes(ScoreDat());
        const bool link = std::filesystem::is_symlink(PicDat());
        const Bytes pictures = link ? Bytes{} : ReadBytes(PicDat());

        EXPECT_FALSE(m_library.Load(PicDat()));
        ASSERT_NE(m_library.WriteBlock(), nullptr);
        EXPECT_NE(m_library.WriteBlock()->Cause().find("cannot be opened"), std::string::npos);
        EXPECT_NE(m_library.WriteBlock()->Cause().find("not changed"), std::string::npos);

        FakeConverter convert = Converting(kJpeg);
        const AddResult added = m_library.Add("Beach.bmp", convert.Get());
        EXPECT_EQ(added.outcome, Outcome::FileFailed);
        ASSERT_TRUE(added.error);
        EXPECT_EQ(added.error->Path(), PicDat());
        EXPECT_EQ(convert.calls, 0);
        const RemoveResult removed = m_library.Remove("Harbour.jpg", ScoreDat());
        EXPECT_EQ(removed.outcome, Removal::FileFailed);

        EXPECT_EQ(std::filesystem::is_symlink(PicDat()), link);
        if (!link) {
            EXPECT_EQ(ReadBytes(PicDat()), pictures);
        }
        EXPECT_EQ(ReadBytes(ScoreDat()), scores);
        EXPECT_EQ(FileNamesIn(Dir()), (std::vector<std::string>{"Pic.dat", "Score.dat"}));
        std::filesystem::remove(PicDat());
    }
}

// Nothing is lost and the player is not locked out: the damaged original is kept, never over
// an earlier copy, and the library goes on with the entries that were read whole.
TEST_F(PictureLibraryTest, ADamagedPackageIsKeptAsideThenWrittenWithItsWholeEntries) {
    const auto cutLastPicture = [this] {
        Bytes bytes = ReadBytes(PicDat());
        bytes.erase(bytes.end() - 3, bytes.end());
        WriteBytes(PicDat(), bytes);
        return bytes;
    };
    Open(kLibrary);
    const Bytes firstDamage = cutLastPicture();  // Reef.jpg cut short
    EXPECT_FALSE(m_library.Load(PicDat()));
    EXPECT_EQ(m_library.WriteBlock(), nullptr);

    FakeConverter convert = Converting(kJpeg);
    EXPECT_EQ(m_library.Add("Beach.bmp", convert.Get()).outcome, Outcome::Added);
    EXPECT_EQ(ReadBytes(PathOf("Pic.dat.damaged")), firstDamage);
    ImagePackage onDisk;
    ASSERT_TRUE(onDisk.Load(PicDat()));
    EXPECT_EQ(NamesOf(onDisk),
              (std::vector<std::string>{"Harbour.jpg", "Meadow.jpg", "Beach.jpg"}));
    EXPECT_EQ(*onDisk.FindData("Meadow.jpg"), Bytes(kLibrary[1].begin(), kLibrary[1].end()));
    EXPECT_EQ(*onDisk.FindData("Beach.jpg"), kJpeg);
    EXPECT_EQ(NamesOf(m_library.Package()), NamesOf(onDisk));

    // Damaged again: the next change keeps this original too, beside the first.
    const Bytes secondDamage = cutLastPicture();  // Beach.jpg cut short
    EXPECT_FALSE(m_library.Load(PicDat()));
    EXPECT_EQ(m_library.Remove("Harbour.jpg", ScoreDat()).outcome, Removal::Removed);
    EXPECT_EQ(ReadBytes(PathOf("Pic.dat.damaged")), firstDamage);
    EXPECT_EQ(ReadBytes(PathOf("Pic.dat.damaged.1")), secondDamage);
    ASSERT_TRUE(onDisk.Load(PicDat()));
    EXPECT_EQ(NamesOf(onDisk), std::vector<std::string>{"Meadow.jpg"});
    EXPECT_EQ(FileNamesIn(Dir()), (std::vector<std::string>{"Pic.dat", "Pic.dat.damaged",
                                                            "Pic.dat.damaged.1", "Pic.dat.lock"}));
}

}  // namespace
