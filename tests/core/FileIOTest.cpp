#include <gtest/gtest.h>

#include "core/io/FileError.h"
#include "core/io/FileIO.h"
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

TEST_F(FileIOTest, CopyReplacesTheDestination) {
    WriteBytes(PathOf("source"), {4, 5, 6});
    WriteBytes(PathOf("destination"), {1, 2, 3, 4, 5, 6, 7});
    CopyFile(PathOf("source"), PathOf("destination"));
    EXPECT_EQ(ReadBytes(PathOf("destination")), (Bytes{4, 5, 6}));
    EXPECT_EQ(ReadBytes(PathOf("source")), (Bytes{4, 5, 6}));
    EXPECT_THROW(CopyFile(PathOf("missing"), PathOf("other")), FileError);
}

}  // namespace
