#include "core/scores/ScoreFile.h"

#include "core/io/FileIO.h"
#include "core/io/FileLock.h"
#include "core/scores/Archive.h"

bool LoadScoreFile(const std::string& path, ScoreTable& table) {
    auto bytes = ReadWholeFile(path);
    if (!bytes) return false;
    Archive archive(*bytes, path);
    table.Serialize(archive);
    return true;
}

void StoreScoreFile(const std::string& path, ScoreTable& table) {
    Archive archive(path);
    table.Serialize(archive);
    WriteFileAtomically(path, archive.Stored());
}

void StoreFinishedGame(const std::string& path, const ScoreRecord& record) {
    FileLock lock(path);
    ScoreTable table;
    LoadScoreFile(path, table);
    table.Append(record);
    StoreScoreFile(path, table);
    RemoveStaleTemporaries(lock.Target());
}

void RemovePictureScores(const std::string& path, const std::string& pictureName) {
    if (!FileIsReadable(path)) return;  // no file: nothing to remove, not even a lock file
    FileLock lock(path);
    ScoreTable table;
    if (!LoadScoreFile(path, table)) return;
    table.RemoveByPicture(pictureName);
    StoreScoreFile(path, table);
    RemoveStaleTemporaries(lock.Target());
}
