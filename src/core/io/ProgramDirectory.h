#pragma once

#include <string>

// The directory of the running program file with its trailing '/', or "" when it
// cannot be found (file names built from it are then relative to the working directory).
std::string GetProgramDirectory();

// Where this program's translations lie, found from its own directory: beside it in the build
// and the per-user install, the prefix's share/locale in the system install.
std::string CatalogueFolder();

// The directory part of a program path up to and including its last '/'; "" if none.
std::string DirectoryOfPath(const std::string& programPath);

enum class DataAccess { Read, Write };

// Where the game keeps Skin.dat, Pic.dat and Score.dat. installed holds the files that came
// with the game; player is the player's own folder, or "" when the installed folder is the
// player's and so holds everything. Both end with '/' unless empty.
struct DataFolders {
    std::string installed;
    std::string player;
};

// The folders for installed data in a folder the player may or may not write to. A folder
// that is not the player's sends the player's files to $XDG_DATA_HOME/corvalin/, or to
// $HOME/.local/share/corvalin/ when XDG_DATA_HOME is unset, empty or relative; with neither
// there is no folder of the player's. xdgDataHome and home are null when unset.
DataFolders ChooseDataFolders(const std::string& installed, bool installedWritable,
                              const char* xdgDataHome, const char* home);

// The path to read or write the named file. Every write goes to the player's folder; Score.dat
// is read only from there; other files are read from there when the player has one
// (inPlayerFolder), else from the installed folder.
std::string DataFilePath(const DataFolders& folders, const std::string& name, DataAccess access,
                         bool inPlayerFolder);

// The path to read the named file from now: DataFilePath, with the player's folder holding it
// when the file is there.
std::string DataFileToRead(const DataFolders& folders, const std::string& name);

// The folders of this run: the installed data found from the program's own directory, its
// writability and the environment.
DataFolders FindDataFolders();
