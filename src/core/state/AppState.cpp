#include "core/state/AppState.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "core/skin/SkinFiles.h"
#include "core/skin/SkinPair.h"
#include "core/text/PlayerLanguages.h"

namespace {

AppState* g_state = nullptr;

}  // namespace

AppState::AppState() { g_state = this; }

AppState::~AppState() {
    if (g_state == this) g_state = nullptr;
}

AppState* App() { return g_state; }

const ImagePackage& AppState::SkinPackageFor(const std::string& name, bool at2x) const {
    if (m_languagePackage.Contains(name)) return at2x ? m_languagePackage2x : m_languagePackage;
    return at2x ? m_skinPackage2x : m_skinPackage;
}

void AppState::Warn(const std::string&) const {}

bool AppState::LoadCompanion(ImagePackage& package, const std::string& path,
                             const ImagePackage& base, const std::string& basePath,
                             const SkinCompanion& companion) {
    package.Clear();
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) return false;
    package.Load(path);
    const std::vector<SkinPairProblem> problems = CompareSkins(base, package, companion);
    if (problems.empty()) return true;
    // A player's skin with a stale companion still shows, in English or at 1x; a mix never.
    Warn(DroppedCompanionMessage(basePath, path, companion, problems));
    package.Clear();
    return false;
}

void AppState::LoadLanguagePackages(const std::string& skinFile) {
    m_languagePackage.Clear();
    m_languagePackage2x.Clear();
    for (const std::string& language : PlayerLanguages()) {
        if (!IsLanguageName(language)) continue;
        const std::string file = SkinLanguageFile(skinFile, language);
        std::error_code ignored;
        if (!std::filesystem::exists(file, ignored)) continue;
        // The first language with pictures is the player's, even when they are left out: the
        // skin's own pictures are then drawn, never another language's.
        if (LoadCompanion(m_languagePackage, file, m_skinPackage, skinFile, kLanguagePackage) &&
            m_skinPackage2x.Count() > 0) {
            LoadCompanion(m_languagePackage2x, SkinLanguageFile(SkinFileAt2x(skinFile), language),
                          m_languagePackage, file, kLanguagePackageAt2x);
        }
        return;
    }
}

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
    // Only those beside that Skin.dat: a player's own skin never meets the installed 2x one or
    // the installed language pictures.
    LoadCompanion(m_skinPackage2x, SkinFileAt2x(skinFile), m_skinPackage, skinFile, kSkinAt2x);
    LoadLanguagePackages(skinFile);
    m_pictureLibrary.LoadFromFolders(m_folders);
    std::vector<std::string> names;
    m_picturePackage.GetNames(names);
    m_currentPicture = names.empty() ? std::string() : names.front();
}
