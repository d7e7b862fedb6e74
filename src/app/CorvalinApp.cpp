#include "app/CorvalinApp.h"

#include "app/Corvalin.h"
#include "core/io/ProgramDirectory.h"
#include "platform/SingleInstance.h"

CCorvalinApp::CCorvalinApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("Corvalin");
}

CCorvalinApp::~CCorvalinApp() = default;

bool CCorvalinApp::InitInstance() {
    const DataFolders folders = FindDataFolders();
    // One game per folder it writes: the player's own when there is one.
    const QString instanceName =
        SingleInstance::ServerNameFor(folders.player.empty() ? folders.installed : folders.player);
    if (SingleInstance::HandOver(instanceName)) return false;
    LoadData(folders);
    // The packages come first: the window's panels take their pictures while it is built.
    m_mainWindow = std::make_unique<CCorvalin>();
    m_mainWindow->show();
    m_mainWindow->activateWindow();
    m_instance = std::make_unique<SingleInstance>();
    m_instance->Listen(instanceName, m_mainWindow.get());
    return true;
}

int CCorvalinApp::ExitInstance(int loopResult) {
    m_instance.reset();
    m_mainWindow.reset();
    return loopResult;
}
