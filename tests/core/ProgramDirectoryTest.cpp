#include <gtest/gtest.h>

#include <filesystem>

#include "core/io/ProgramDirectory.h"

namespace {

TEST(ProgramDirectoryTest, DirectoryKeepsItsTrailingSeparator) {
    EXPECT_EQ(DirectoryOfPath("/usr/games/corvalin"), "/usr/games/");
    EXPECT_EQ(DirectoryOfPath("/corvalin"), "/");
    EXPECT_EQ(DirectoryOfPath("a/b/"), "a/b/");
}

TEST(ProgramDirectoryTest, PathWithoutSeparatorGivesEmptyDirectory) {
    EXPECT_EQ(DirectoryOfPath("corvalin"), "");
    EXPECT_EQ(DirectoryOfPath(""), "");
}

TEST(ProgramDirectoryTest, ProgramDirectoryHoldsTheRunningProgram) {
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(GetProgramDirectory(), program.parent_path().string() + "/");
}

}  // namespace
