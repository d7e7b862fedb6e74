#pragma once

#include <QApplication>
#include <memory>
#include <string>

#include "core/state/AppState.h"

class CCorvalin;

// The one application object: the shared state of every window, and the main window.
class CCorvalinApp : public QApplication, public AppState {
public:
    CCorvalinApp(int& argc, char** argv);
    ~CCorvalinApp() override;

    // Loads the packages from the program's directory, chooses the first picture and
    // 3 x 4, then builds and shows the main window. True when the window is shown.
    bool InitInstance();
    // Destroys the main window; returns the exit code of the event loop's run.
    int ExitInstance(int loopResult);

    CCorvalin* MainWindow() const { return m_mainWindow.get(); }

private:
    std::unique_ptr<CCorvalin> m_mainWindow;
};
