#include "core/library/PictureLibrary.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/io/FileIO.h"
#include "core/package/PackageFile.h"
#include "core/scores/ScoreFile.h"
#include "core/text/Translation.h"

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
    // A damaged file is written: its save keeps the original aside first.
    if (m_package.Damage().empty() && (::access(path.c_str(), F_OK) == 0 || errno != ENOENT)) {
        m_writeBlock.emplace(
            path, Substitute(Tr("cannot be opened (%1), not changed"), {DescribeErrno(openError)}));
    }
    return false;
}

bool PictureLibrary::LoadFromFolders(const DataFolders& folders) {
    return Load(DataFileToRead(folders, "Pic.dat"),
                DataFilePath(folders, "Pic.dat", DataAccess::Write, false));
}

bool PictureLibrary::Writable() {
    if (m_writeBlock) Load(m_path, m_savePath);  // the file may be readable again by now
    return !m_writeBlock;
}

void PictureLibrary::MoveToSavePath() {
    if (m_savePath == m_path) return;
    // A failure to make the folder is not reported here: the copy fails and says why.
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(m_savePath).parent_path(), ignored);
    if (!FileIsReadable(m_savePath)) {
        if (const auto installed = ReadWholeFile(m_path))
            WriteFileAtomically(m_savePath, *installed);
    }
    m_path = m_savePath;
}

AddResult PictureLibrary::Add(const std::string& file, const PictureConverter& convert) {
    if (!Writable()) {
        ImportedPicture picture;
        picture.libraryName = LibraryNameFor(file);
        return AddFailed(std::move(picture), *m_writeBlock);
    }
    std::vector<std::string> names;
    m_package.GetNames(names);
    ImportedPicture picture = PreparePicture(file, names, convert);
    if (!picture.Accepted()) return AddResult{AddResult::Outcome::Refused, std::move(picture), {}};

    bool added = false;
    try {
        MoveToSavePath();
        added = UpdatePackageFile(m_package, m_path, [&](ImagePackage& current) {
            // Another writer may have taken the name since the check.
            if (current.Contains(picture.libraryName)) return false;
            current.AddEntry(picture.libraryName, std::move(picture.jpeg));
            return true;
        });
    } catch (const FileError& error) {
        picture.jpeg.clear();
        return AddFailed(std::move(picture), error);
    }
    picture.jpeg.clear();
    if (!added) {
        picture.refusal = ImportRefusal::DuplicateName;
        return AddResult{AddResult::Outcome::Refused, std::move(picture), {}};
    }
    return AddResult{AddResult::Outcome::Added, std::move(picture), {}};
}

RemoveResult PictureLibrary::Remove(const std::string& name, const std::string& scorePath) {
    if (!Writable()) return RemoveFailed(*m_writeBlock);
    if (!m_package.Contains(name)) return {RemoveResult::Outcome::NoSuchPicture, {}};
    if (HoldsOnePicture()) return {RemoveResult::Outcome::LastPicture, {}};

    // Score.dat is read before anything changes: a damaged or unreadable one stops it here.
    try {
        ScoreTable scores;
        LoadScoreFile(scorePath, scores);
    } catch (const FileError& error) {
        return RemoveFailed(error);
    }

    RemoveResult::Outcome refused = RemoveResult::Outcome::Removed;
    try {
        MoveToSavePath();
        UpdatePackageFile(m_package, m_path, [&](ImagePackage& current) {
            if (!current.Contains(name))
                refused = RemoveResult::Outcome::NoSuchPicture;
            else if (current.Count() == 1)
                refused = RemoveResult::Outcome::LastPicture;
            return refused == RemoveResult::Outcome::Removed && current.Remove(name);
        });
    } catch (const FileError& error) {
        return RemoveFailed(error);
    }
    if (refused != RemoveResult::Outcome::Removed) return {refused, {}};

    try {
        RemovePictureScores(scorePath, name);  // a missing file is not created
    } catch (const FileError& error) {
        return {RemoveResult::Outcome::ScoresKept, error};
    }
    return {RemoveResult::Outcome::Removed, {}};
}
