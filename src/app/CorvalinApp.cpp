#include "app/CorvalinApp.h"

#include <vector>

#include "app/MainWindow.h"
#include "app/ProgramDirectory.h"

CCorvalinApp::CCorvalinApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("Corvalin");
}

CCorvalinApp::~CCorvalinApp() = default;

CCorvalinApp* App() { return static_cast<CCorvalinApp*>(QCoreApplication::instance()); }

void CCorvalinApp::LoadData(const std::string& directory) {
    m_dataDirectory = directory;
    m_boardCols = 4;
    m_boardRows = 3;
    // A missing or damaged package is not fatal: the windows go without its pictures.
    m_skinPackage.Load(DataFile("Skin.dat"));
    m_picturePackage.Load(DataFile("Pic.dat"));
    std::vector<std::string> names;
    m_picturePackage.GetNames(names);
    m_currentPicture = names.empty() ? std::string() : names.front();
}

bool CCorvalinApp::InitInstance() {
    LoadData(GetProgramDirectory());
    // The packages come first: the window's panels take their pictures while it is built.
    m_mainWindow = std::make_unique<CCorvalin>();
    m_mainWindow->show();
    m_mainWindow->activateWindow();
    return true;
}

int CCorvalinApp::ExitInstance(int loopResult) {
    m_mainWindow.reset();
    return loopResult;
}
