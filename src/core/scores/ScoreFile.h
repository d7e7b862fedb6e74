#pragma once

#include <string>

#include "core/scores/ScoreTable.h"

// The three ways the game uses Score.dat. Each reads the whole file and, where it
// changes something, replaces it atomically, holding the file's lock from the read to the
// write so that no other writer's row is lost. Errors are thrown as FileError; a file that
// exists but cannot be read is never written.

// Appends the file's rows to table. A missing file reads as an empty table and
// returns false; a damaged one throws, with the rows before the damage in table.
bool LoadScoreFile(const std::string& path, ScoreTable& table);

// Appends one finished game; creates the file when it is missing. A damaged file
// throws and is left untouched.
void StoreFinishedGame(const std::string& path, const ScoreRecord& record);

// Removes every record of the picture. A missing file stays missing; a damaged
// file throws and is left untouched.
void RemovePictureScores(const std::string& path, const std::string& pictureName);

// Writes the whole table over the file, without the lock: for a file no one else writes.
void StoreScoreFile(const std::string& path, ScoreTable& table);
