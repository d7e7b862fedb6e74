#include "core/library/PictureLibrary.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/io/FileIO.h"
#include "core/scores/ScoreFile.h"

namespace {

AddResult AddFailed(ImportedPicture picture, const FileError& error) {
    return AddResult{AddResult::Outcome::FileFailed, std::move(picture), error};
}

RemoveResult RemoveFailed(const FileError& error) {
    return RemoveResult{RemoveResult::Outcome::FileFailed, error};
}

}  // namespace

bool PictureLibrary::Load(const std::string& path, const std::string& savePath) {
    m_path = path;
    m_savePath = savePath.empty() ? path : savePath;
    m_writeBlock.reset();
    if (m_package.Load(path)) return true;
    const int openError = errno;  // of the open, when the load stopped there
    if (!m_package.Damage().empty()) {
        m_writeBlock.emplace(path, "damaged: " + m_package.Damage() + ", not changed");
    } else if (::access(path.c_str(), F_OK) == 0 || errno != ENOENT) {
        m_writeBlock.emplace(path,
                             "cannot be opened (" + DescribeErrno(openError) + "), not changed");
    }
    return false;
}

void PictureLibrary::Save() {
    // A failure to make the folder is not reported here: the save fails and says why.
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(m_savePath).parent_path(), ignored);
    m_package.Save(m_savePath);
}

AddResult PictureLibrary::Add(const std::string& file, const PictureConverter& convert) {
    if (m_writeBlock) {
        ImportedPicture picture;
        picture.libraryName = LibraryNameFor(file);
        return AddFailed(std::move(picture), *m_writeBlock);
    }
    std::vector<std::string> names;
    m_package.GetNames(names);
    ImportedPicture picture = PreparePicture(file, names, convert);
    if (!picture.Accepted()) return AddResult{AddResult::Outcome::Refused, std::move(picture), {}};

    m_package.AddEntry(picture.libraryName, std::move(picture.jpeg));
    picture.jpeg.clear();
    try {
        Save();
    } catch (const FileError& error) {
        // The file was replaced whole or not at all: it is as it was, so is the package again.
        // No earlier entry has this name, so Remove takes the new one.
        m_package.Remove(picture.libraryName);
        return AddFailed(std::move(picture), error);
    }
    return AddResult{AddResult::Outcome::Added, std::move(picture), {}};
}

RemoveResult PictureLibrary::Remove(const std::string& name, const std::string& scorePath) {
    if (m_writeBlock) return RemoveFailed(*m_writeBlock);
    if (m_package.FindData(name) == nullptr) return {RemoveResult::Outcome::NoSuchPicture, {}};
    if (HoldsOnePicture()) return {RemoveResult::Outcome::LastPicture, {}};

    ScoreTable scores;
    bool haveScores = false;
    try {
        haveScores = LoadScoreFile(scorePath, scores);
    } catch (const FileError& error) {
        return RemoveFailed(error);
    }

    const std::vector<std::uint8_t> before = m_package.ToBytes();
    m_package.Remove(name);
    try {
        Save();
    } catch (const FileError& error) {
        m_package.LoadFromBytes(before);  // the file is as it was
        return RemoveFailed(error);
    }

    if (!haveScores) return {RemoveResult::Outcome::Removed, {}};
    scores.RemoveByPicture(name);
    try {
        StoreScoreFile(scorePath, scores);
    } catch (const FileError& error) {
        return {RemoveResult::Outcome::ScoresKept, error};
    }
    return {RemoveResult::Outcome::Removed, {}};
}
