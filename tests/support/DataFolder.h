#pragma once

// A data folder of its own for one test: Skin.dat, Pic.dat, Score.dat and any other file
// written in their real formats into a fresh directory under the temporary folder, removed
// with everything in it.

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/package/ImagePackage.h"
#include "core/scores/ScoreFile.h"
#include "core/scores/ScoreTable.h"
#include "support/ByteFiles.h"

namespace test {

using NamedPicture = std::pair<std::string, std::vector<std::uint8_t>>;

class DataFolder {
public:
    DataFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvalin-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
        m_dir = pattern;
    }
    // A test may have taken the folder's permissions away: they come back before the removal.
    ~DataFolder() {
        std::error_code ignored;
        std::filesystem::permissions(m_dir, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_dir, ignored);
    }
    DataFolder(const DataFolder&) = delete;
    DataFolder& operator=(const DataFolder&) = delete;

    const std::filesystem::path& Dir() const { return m_dir; }
    // The folder as the application object takes it, with its trailing slash.
    std::string Path() const { return m_dir.string() + "/"; }
    std::string File(const std::string& name) const { return (m_dir / name).string(); }

    // An empty list writes no file at all: a package file always holds at least one entry.
    void WritePackage(const std::string& name, const std::vector<NamedPicture>& pictures) const {
        ImagePackage package;
        for (const auto& [entry, bytes] : pictures) package.AddEntry(entry, bytes);
        if (!pictures.empty()) package.Save(File(name));
    }
    std::vector<std::string> PackageNames(const std::string& name = "Pic.dat") const {
        ImagePackage package;
        package.Load(File(name));
        std::vector<std::string> names;
        package.GetNames(names);
        return names;
    }

    void WriteScores(const std::vector<ScoreRecord>& records) const {
        ScoreTable table;
        for (const ScoreRecord& record : records) table.Append(record);
        StoreScoreFile(File("Score.dat"), table);
    }
    // Throws as LoadScoreFile does on a damaged file.
    std::vector<ScoreRecord> Scores() const {
        ScoreTable table;
        LoadScoreFile(File("Score.dat"), table);
        std::vector<ScoreRecord> records;
        for (std::size_t i = 0; i < table.GetCount(); ++i) records.push_back(table.GetAt(i));
        return records;
    }

    // Returns the file's path.
    std::string WriteBytes(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        ::WriteBytes(File(name), bytes);
        return File(name);
    }
    std::vector<std::uint8_t> Bytes(const std::string& name) const { return ReadBytes(File(name)); }
    void Remove(const std::string& name) const {
        std::error_code ignored;
        std::filesystem::remove(File(name), ignored);
    }
    std::vector<std::string> FileNames() const { return FileNamesIn(m_dir); }

private:
    std::filesystem::path m_dir;
};

}  // namespace test
