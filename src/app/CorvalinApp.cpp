#include "app/CorvalinApp.h"

#include "app/Corvalin.h"
#include "core/io/ProgramDirectory.h"

CCorvalinApp::CCorvalinApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("Corvalin");
}

CCorvalinApp::~CCorvalinApp() = default;

bool CCorvalinApp::InitInstance() {
    LoadData(FindDataFolders());
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
