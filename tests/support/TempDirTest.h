#pragma once

// A GoogleTest fixture with a data folder of its own for each test.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/DataFolder.h"

class TempDirTest : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return m_folder.File(name); }
    const std::filesystem::path& Dir() const { return m_folder.Dir(); }

private:
    test::DataFolder m_folder;
};
