#include "app/CorvalinApp.h"

#include <cstdio>
#include <string_view>

#include "app/Corvalin.h"
#include "core/io/ProgramDirectory.h"
#include "core/skin/SkinPair.h"
#include "core/text/Translation.h"
#include "platform/QtTranslation.h"
#include "platform/SingleInstance.h"

std::optional<int> CCorvalinApp::AnswerOptions(int argc, char** argv) {
    for (int index = 1; index < argc; ++index) {
        const std::string_view option = argv[index];
        if (option == "--help" || option == "-h") {
            std::fputs(Tr("Usage: corvalin [--help | --version]\n"
                          "A sliding-tile picture puzzle. Start it without options to play.\n"
                          "\n"
                          "One game runs per data folder: a second start brings the running "
                          "game's window to\n"
                          "the front and ends.\n"
                          "\n"
                          "  --help     show this help and exit\n"
                          "  --version  show the version and exit\n"),
                       stdout);
            return 0;
        }
        if (option == "--version") {
            std::fputs("corvalin " CORVALIN_VERSION "\n", stdout);
            return 0;
        }
    }
    return std::nullopt;
}

CCorvalinApp::CCorvalinApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("Corvalin");
    InstallQtTranslations(*this);
}

CCorvalinApp::~CCorvalinApp() = default;

bool CCorvalinApp::InitInstance() {
    const DataFolders folders = FindDataFolders();
    // One game per folder it writes: the player's own when there is one.
    const QString instanceName =
        SingleInstance::ServerNameFor(folders.player.empty() ? folders.installed : folders.player);
    if (SingleInstance::HandOver(instanceName)) {
        // Seen by a player who started it from a terminal: the window that came forward is
        // the earlier game's, and nothing opened.
        std::fputs(Tr("Corvalin is already running; its window has been brought to the front.\n"),
                   stdout);
        return false;
    }
    LoadData(folders);
    // The packages come first: the window's panels take their pictures while it is built.
    m_mainWindow = std::make_unique<CCorvalin>();
    m_mainWindow->show();
    m_mainWindow->activateWindow();
    m_instance = std::make_unique<SingleInstance>();
    m_instance->Listen(instanceName, m_mainWindow.get());
    return true;
}

bool CCorvalinApp::AcceptSkin2x(const ImagePackage& skin, const ImagePackage& skin2x) const {
    const std::vector<SkinPairProblem> problems = CompareSkinAt2x(skin, skin2x);
    if (problems.empty()) return true;
    // A player's skin with a stale 2x file still shows, crisp or not; a mix of both never.
    const std::string more =
        problems.size() > 1 ? " (and " + std::to_string(problems.size() - 1) + " more)" : "";
    qWarning("Skin@2x.dat does not match Skin.dat, so the 1x skin is used: %s: %s%s",
             problems.front().name.c_str(), problems.front().problem.c_str(), more.c_str());
    return false;
}

int CCorvalinApp::ExitInstance(int loopResult) {
    m_instance.reset();
    m_mainWindow.reset();
    return loopResult;
}
