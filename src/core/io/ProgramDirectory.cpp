#include "core/io/ProgramDirectory.h"

#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

// Where the installed data lies, seen from the program's directory: beside it unless the
// build chose the system layout, with programs and data in separate trees.
#ifndef CORVALIN_DATA_FROM_PROGRAM
#define CORVALIN_DATA_FROM_PROGRAM ""
#endif

// Where the translations lie, seen from the program's directory.
#ifndef CORVALIN_LOCALE_FROM_PROGRAM
#define CORVALIN_LOCALE_FROM_PROGRAM "locale/"
#endif

namespace {

bool IsSet(const char* value) { return value != nullptr && value[0] != '\0'; }

}  // namespace

std::string DirectoryOfPath(const std::string& programPath) {
    auto slash = programPath.rfind('/');
    return slash == std::string::npos ? std::string() : programPath.substr(0, slash + 1);
}

std::string GetProgramDirectory() {
    std::array<char, 4096> buffer{};
    ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) return {};
    return DirectoryOfPath(std::string(buffer.data(), static_cast<std::size_t>(length)));
}

std::string CatalogueFolder() { return GetProgramDirectory() + CORVALIN_LOCALE_FROM_PROGRAM; }

DataFolders ChooseDataFolders(const std::string& installed, bool installedWritable,
                              const char* xdgDataHome, const char* home) {
    if (installedWritable) return {installed, ""};
    // A relative XDG_DATA_HOME is invalid and ignored, as the base directory rules say.
    if (IsSet(xdgDataHome) && xdgDataHome[0] == '/')
        return {installed, std::string(xdgDataHome) + "/corvalin/"};
    if (IsSet(home)) return {installed, std::string(home) + "/.local/share/corvalin/"};
    return {installed, ""};
}

std::string DataFilePath(const DataFolders& folders, const std::string& name, DataAccess access,
                         bool inPlayerFolder) {
    if (folders.player.empty()) return folders.installed + name;
    // Scores are the player's alone: none ever come with the game.
    if (access == DataAccess::Write || inPlayerFolder || name == "Score.dat")
        return folders.player + name;
    return folders.installed + name;
}

std::string DataFileToRead(const DataFolders& folders, const std::string& name) {
    std::error_code ignored;
    const bool inPlayerFolder =
        !folders.player.empty() && std::filesystem::exists(folders.player + name, ignored);
    return DataFilePath(folders, name, DataAccess::Read, inPlayerFolder);
}

DataFolders FindDataFolders() {
    constexpr std::string_view kDataFromProgram = CORVALIN_DATA_FROM_PROGRAM;
    const std::string installed = GetProgramDirectory() + std::string(kDataFromProgram);
    // Files of a system install belong to the package manager, which replaces them on every
    // upgrade: no player writes there, root included.
    const bool writable = kDataFromProgram.empty() &&
                          ::access(installed.empty() ? "." : installed.c_str(), W_OK) == 0;
    return ChooseDataFolders(installed, writable, std::getenv("XDG_DATA_HOME"),
                             std::getenv("HOME"));
}
