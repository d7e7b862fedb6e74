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

bool AppState::AcceptSkin2x(const ImagePackage&, const ImagePackage&) const { return false; }

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
    const std::string skinFile = DataFile("Skin.dat");
    m_skinPackage.Load(skinFile);
    // Only the one beside that Skin.dat: a player's own skin never meets the installed 2x one.
    m_skinPackage2x.Clear();
    const std::string skin2xFile =
        std::filesystem::path(skinFile).replace_filename("Skin@2x.dat").string();
    std::error_code ignored;
    if (std::filesystem::exists(skin2xFile, ignored)) {
        m_skinPackage2x.Load(skin2xFile);
        if (!AcceptSkin2x(m_skinPackage, m_skinPackage2x)) m_skinPackage2x.Clear();
    }
    m_pictureLibrary.LoadFromFolders(m_folders);
    std::vector<std::string> names;
    m_picturePackage.GetNames(names);
    m_currentPicture = names.empty() ? std::string() : names.front();
}
