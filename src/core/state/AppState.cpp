#include "core/state/AppState.h"

#include <vector>

namespace {

AppState* g_state = nullptr;

}  // namespace

AppState::AppState() { g_state = this; }

AppState::~AppState() {
    if (g_state == this) g_state = nullptr;
}

AppState* App() { return g_state; }

void AppState::LoadData(const std::string& directory) {
    m_dataDirectory = directory;
    m_boardCols = 4;
    m_boardRows = 3;
    // A missing or damaged package is not fatal: the windows go without its pictures.
    m_skinPackage.Load(DataFile("Skin.dat"));
    m_pictureLibrary.Load(DataFile("Pic.dat"));
    std::vector<std::string> names;
    m_picturePackage.GetNames(names);
    m_currentPicture = names.empty() ? std::string() : names.front();
}
