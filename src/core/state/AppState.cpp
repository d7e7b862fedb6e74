#include "core/state/AppState.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace {

AppState* g_state = nullptr;

}  // namespace

AppState::AppState() { g_state = this; }

AppState::~AppState() {
    if (g_state == this) g_state = nullptr;
}

AppState* App() { return g_state; }

std::string AppState::DataFile(const std::string& name) const {
    return DataFileToRead(m_folders, name);
}

std::string AppState::DataFileToWrite(const std::string& name) const {
    if (!m_folders.player.empty()) {
        // Failing here is not reported: the write that follows fails and says why.
        std::error_code ignored;
        std::filesystem::create_directories(m_folders.player, ignored);
    }
    return DataFilePath(m_folders, name, DataAccess::Write, false);
}

void AppState::LoadData(const DataFolders& folders) {
    m_folders = folders;
    m_boardCols = 4;
    m_boardRows = 3;
    // A missing or damaged package is not fatal: the windows go without its pictures.
    m_skinPackage.Load(DataFile("Skin.dat"));
    m_pictureLibrary.LoadFromFolders(m_folders);
    std::vector<std::string> names;
    m_picturePackage.GetNames(names);
    m_currentPicture = names.empty() ? std::string() : names.front();
}
