#pragma once

#include <string>

// The directory of the running program file with its trailing '/', or "" when it
// cannot be found (file names built from it are then relative to the working directory).
std::string GetProgramDirectory();

// The directory part of a program path up to and including its last '/'; "" if none.
std::string DirectoryOfPath(const std::string& programPath);
