#include <gtest/gtest.h>

#include "core/io/FileError.h"
#include "core/io/FileIO.h"
#include "core/package/ImagePackage.h"
#include "core/package/PackageFile.h"
#include "support/ByteFiles.h"
#include "support/FileSizeLimit.h"
#include "support/TempDirTest.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class FileIOTest : public TempDirTest {};

TEST_F(FileIOTest, ReadsWholeFilesAndReportsMissingOnes) {
    WriteBytes(PathOf("data"), {0, 1, 0xFF});
    WriteBytes(PathOf("empty"), {});
    EXPECT_EQ(ReadWholeFile(PathOf("data")), (Bytes{0, 1, 0xFF}));
    EXPECT_EQ(ReadWholeFile(PathOf("empty")), Bytes{});
    EXPECT_EQ(ReadWholeFile(PathOf("missing")), std::nullopt);
}

TEST_F(FileIOTest, ReadingADirectoryThrows) {
    std::filesystem::create_directory(PathOf("folder"));
    EXPECT_THROW(ReadWholeFile(PathOf("folder")), FileError);
}

TEST_F(FileIOTest, AtomicWriteCreatesAndReplacesLeavingNothingBeside) {
    const Bytes first{1, 2, 3}, second{9};
    WriteFileAtomically(PathOf("file"), first);
    EXPECT_EQ(ReadBytes(PathOf("file")), first);
    WriteFileAtomically(PathOf("file"), second);
    EXPECT_EQ(ReadBytes(PathOf("file")), second);
    EXPECT_EQ(FileNamesIn(Dir()), std::vector<std::string>{"file"});
}

TEST_F(FileIOTest, WriteThatRunsOutOfSpaceKeepsTheOldFileAndCleansUp) {
    const Bytes old{1, 2, 3};
    WriteBytes(PathOf("file"), old);
    {
        FileSizeLimit fullDisk(16);
        EXPECT_THROW(WriteFileAtomically(PathOf("file"), Bytes(1000, 7)), FileError);
    }
    EXPECT_EQ(ReadBytes(PathOf("file")), old);
    EXPECT_EQ(FileNamesIn(Dir()), std::vector<std::string>{"file"});
}

TEST_F(FileIOTest, WriteIntoReadOnlyDirectoryThrowsAndKeepsTheOldFile) {
    if (geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
    WriteBytes(PathOf("file"), {1});
    std::filesystem::permissions(
        Dir(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_THROW(WriteFileAtomically(PathOf("file"), Bytes{2}), FileError);
    EXPECT_EQ(ReadBytes(PathOf("file")), Bytes{1});
}

TEST_F(FileIOTest, WriteBelowARegularFileThrowsNamingThePath) {
    WriteBytes(PathOf("plain"), {1});
    try {
        WriteFileAtomically(PathOf("plain/file"), Bytes{2});
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.Path(), PathOf("plain/file"));
        EXPECT_FALSE(error.Cause().empty());
    }
}

// Records the calls of one write; fails the one named failing with EIO.
std::vector<std::string> g_steps;
std::string g_failing;

int RecordStep(const char* call) {
    g_steps.emplace_back(call);
    return call == g_failing ? EIO : 0;
}

class WriteStepsTest : public FileIOTest {
protected:
    void SetUp() override {
        FileIOTest::SetUp();
        g_steps.clear();
        g_failing.clear();
        SetWriteStepHook(RecordStep);
    }
    void TearDown() override {
        SetWriteStepHook(nullptr);
        FileIOTest::TearDown();
    }
};

TEST_F(WriteStepsTest, ACleanWriteFlushesAndClosesTheNewFileBeforeItTakesTheOldOnesPlace) {
    WriteFileAtomically(PathOf("file"), Bytes{1, 2, 3});
    EXPECT_EQ(g_steps, (std::vector<std::string>{"mkostemp", "fchmod", "write", "fsync", "close",
                                                 "rename", "open directory", "fsync directory"}));
}

TEST_F(WriteStepsTest, AStepThatFailsBeforeTheRenameKeepsTheOldFileAndIsReported) {
    for (const char* step : {"mkostemp", "fchmod", "write", "fsync", "close", "rename"}) {
        SCOPED_TRACE(step);
        WriteBytes(PathOf("file"), {1, 2, 3});
        g_failing = step;
        try {
            WriteFileAtomically(PathOf("file"), Bytes(100, 9));
            ADD_FAILURE() << "a failed step reported success";
        } catch (const FileError& error) {
            EXPECT_EQ(error.Path(), PathOf("file"));
            EXPECT_EQ(error.Cause(), DescribeErrno(EIO));
        }
        EXPECT_EQ(ReadBytes(PathOf("file")), (Bytes{1, 2, 3}));
        EXPECT_EQ(FileNamesIn(Dir()), std::vector<std::string>{"file"});
    }
}

// Once the new file has taken the old one's place it is whole: a folder that cannot be
// flushed after the rename costs only the rename's durability, and is no failure.
TEST_F(WriteStepsTest, AFolderThatCannotBeFlushedAfterTheRenameStillLeavesTheNewFile) {
    for (const char* step : {"open directory", "fsync directory"}) {
        SCOPED_TRACE(step);
        WriteBytes(PathOf("file"), {1, 2, 3});
        g_failing = step;
        EXPECT_NO_THROW(WriteFileAtomically(PathOf("file"), Bytes(100, 9)));
        EXPECT_EQ(ReadBytes(PathOf("file")), Bytes(100, 9));
        EXPECT_EQ(FileNamesIn(Dir()), std::vector<std::string>{"file"});
    }
}

// A file or a symbolic link in the test's folder, as it is before or must be after a save.
struct FileSpec {
    std::string path;
    std::string linkTo;  // empty for a plain file
    Bytes bytes;
};

ImagePackage& Pictures(ImagePackage& package) {
    package.AddEntry("Harbour.jpg", Bytes(50, 0x11));
    package.AddEntry("Meadow.jpg", Bytes(40, 0x22));
    return package;
}

const Bytes kOld = [] {
    ImagePackage package;
    return Pictures(package).ToBytes();
}();
const Bytes kNew = [] {
    ImagePackage package;
    Pictures(package).AddEntry("Beach.jpg", Bytes(3, 0x44));
    return package.ToBytes();
}();
const Bytes kDamaged(kOld.begin(), kOld.end() - 10);  // Meadow.jpg cut short
const Bytes kDamagedNew = [] {
    ImagePackage package;
    package.AddEntry("Harbour.jpg", Bytes(50, 0x11));
    package.AddEntry("Beach.jpg", Bytes(3, 0x44));
    return package.ToBytes();
}();
const Bytes kOther{7, 7, 7};

struct KeptFilesCase {
    const char* what;
    std::vector<FileSpec> before;
    std::vector<FileSpec> after;  // every file there is; lock files aside
};

const KeptFilesCase kKeptFilesCases[] = {
    {"a link to another folder stays a link; its target is replaced there",
     {{"data/Pic.dat", "../store/Pic.dat", {}}, {"store/Pic.dat", "", kOld}},
     {{"data/Pic.dat", "../store/Pic.dat", {}}, {"store/Pic.dat", "", kNew}}},
    {"a chain of links is followed to its end",
     {{"data/Pic.dat", "Pic-link.dat", {}},
      {"data/Pic-link.dat", "/ABS/store/Pic.dat", {}},
      {"store/Pic.dat", "", kOld}},
     {{"data/Pic.dat", "Pic-link.dat", {}},
      {"data/Pic-link.dat", "/ABS/store/Pic.dat", {}},
      {"store/Pic.dat", "", kNew}}},
    {"a damaged file is kept under the first free name, earlier copies untouched",
     {{"data/Pic.dat", "", kDamaged},
      {"data/Pic.dat.damaged", "", kOther},
      {"data/Pic.dat.damaged.1", "", kOther}},
     {{"data/Pic.dat", "", kDamagedNew},
      {"data/Pic.dat.damaged", "", kOther},
      {"data/Pic.dat.damaged.1", "", kOther},
      {"data/Pic.dat.damaged.2", "", kDamaged}}},
    {"a damaged linked file is kept beside the target",
     {{"data/Pic.dat", "../store/Pic.dat", {}}, {"store/Pic.dat", "", kDamaged}},
     {{"data/Pic.dat", "../store/Pic.dat", {}},
      {"store/Pic.dat", "", kDamagedNew},
      {"store/Pic.dat.damaged", "", kDamaged}}},
    {"temporaries of dead writers go; look-alikes and other files stay",
     {{"data/Pic.dat", "", kOld},
      {"data/Pic.dat.tmp-a1B2c3", "", kOther},
      {"data/Pic.dat.tmp-ZZZZZZ", "", kOther},
      {"data/Pic.dat.backup", "", kOther},
      {"data/Pic.dat.tmp-abc", "", kOther},
      {"data/Pic.dat.tmp-abc-12", "", kOther},
      {"data/Score.dat.tmp-a1B2c3", "", kOther}},
     {{"data/Pic.dat", "", kNew},
      {"data/Pic.dat.backup", "", kOther},
      {"data/Pic.dat.tmp-abc", "", kOther},
      {"data/Pic.dat.tmp-abc-12", "", kOther},
      {"data/Score.dat.tmp-a1B2c3", "", kOther}}},
    {"temporaries beside a link's target go, none beside the link",
     {{"data/Pic.dat", "../store/Pic.dat", {}},
      {"data/Pic.dat.tmp-a1B2c3", "", kOther},
      {"store/Pic.dat", "", kOld},
      {"store/Pic.dat.tmp-x9y8z7", "", kOther}},
     {{"data/Pic.dat", "../store/Pic.dat", {}},
      {"data/Pic.dat.tmp-a1B2c3", "", kOther},
      {"store/Pic.dat", "", kNew}}},
};

class KeptFilesTest : public TempDirTest {
protected:
    std::string Absolute(const std::string& text) const {
        std::string result = text;
        if (result.rfind("/ABS/", 0) == 0) result = Dir().string() + result.substr(4);
        return result;
    }
    void Lay(const std::vector<FileSpec>& files) {
        for (const FileSpec& file : files) {
            std::filesystem::create_directories((Dir() / file.path).parent_path());
            if (file.linkTo.empty())
                WriteBytes(Dir() / file.path, file.bytes);
            else
                std::filesystem::create_symlink(Absolute(file.linkTo), Dir() / file.path);
        }
    }
    // Every file and link below the folder, lock files left out.
    std::vector<std::string> Listing() const {
        std::vector<std::string> paths;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(Dir())) {
            if (entry.is_directory() && !entry.is_symlink()) continue;
            const std::string path = entry.path().lexically_relative(Dir()).string();
            if (!path.ends_with(".lock")) paths.push_back(path);
        }
        std::sort(paths.begin(), paths.end());
        return paths;
    }
};

TEST_F(KeptFilesTest, ALockedSaveKeepsLinksAndDamagedCopiesAndClearsOnlyItsOwnTemporaries) {
    for (const KeptFilesCase& test : kKeptFilesCases) {
        SCOPED_TRACE(test.what);
        std::filesystem::remove_all(Dir() / "data");
        std::filesystem::remove_all(Dir() / "store");
        Lay(test.before);

        ImagePackage package;
        UpdatePackageFile(package, PathOf("data/Pic.dat"), [](ImagePackage& current) {
            current.AddEntry("Beach.jpg", Bytes(3, 0x44));
            return true;
        });

        std::vector<std::string> expected;
        for (const FileSpec& file : test.after) {
            expected.push_back(file.path);
            const std::filesystem::path path = Dir() / file.path;
            if (file.linkTo.empty()) {
                EXPECT_FALSE(std::filesystem::is_symlink(path)) << file.path;
                EXPECT_EQ(ReadBytes(path), file.bytes) << file.path;
            } else {
                ASSERT_TRUE(std::filesystem::is_symlink(path)) << file.path;
                EXPECT_EQ(std::filesystem::read_symlink(path).string(), Absolute(file.linkTo));
            }
        }
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(Listing(), expected);
    }
}

TEST_F(FileIOTest, WhenEveryDamagedCopyNameIsTakenNoneIsOverwrittenAndTheSaveFails) {
    WriteBytes(PathOf("Pic.dat"), kDamaged);
    WriteBytes(PathOf("Pic.dat.damaged"), kOther);
    for (int number = 1; number < kDamagedCopies; ++number)
        WriteBytes(PathOf("Pic.dat.damaged." + std::to_string(number)), kOther);
    ImagePackage package;
    EXPECT_THROW(UpdatePackageFile(package, PathOf("Pic.dat"),
                                   [](ImagePackage& current) {
                                       current.AddEntry("Beach.jpg", Bytes(3, 0x44));
                                       return true;
                                   }),
                 FileError);
    EXPECT_EQ(ReadBytes(PathOf("Pic.dat")), kDamaged);
    EXPECT_EQ(ReadBytes(PathOf("Pic.dat.damaged.99")), kOther);
    EXPECT_EQ(FileNamesIn(Dir()).size(), kDamagedCopies + 2u);  // and Pic.dat.lock
}

}  // namespace
