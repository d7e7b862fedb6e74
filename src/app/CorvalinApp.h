#pragma once

#include <QApplication>
#include <memory>
#include <optional>
#include <string>

#include "core/state/AppState.h"

class CCorvalin;
class SingleInstance;

// The one application object: the shared state of every window, and the main window.
class CCorvalinApp : public QApplication, public AppState {
public:
    CCorvalinApp(int& argc, char** argv);
    ~CCorvalinApp() override;

    // --help and --version print their answer on stdout and give the exit status; any other
    // command line gives none, and the game starts (Qt takes its own options).
    static std::optional<int> AnswerOptions(int argc, char** argv);

    // Hands over to a game already running on the same data folder, says so on stdout and
    // returns false (the process then ends with status 0). Otherwise loads the packages, chooses
    // the first picture and 3 x 4, builds and shows the main window, and returns true.
    bool InitInstance();
    // Destroys the main window; returns the exit code of the event loop's run.
    int ExitInstance(int loopResult);

    CCorvalin* MainWindow() const { return m_mainWindow.get(); }

protected:
    // A skin package left out, as a warning on the terminal.
    void Warn(const std::string& message) const override;

private:
    std::unique_ptr<CCorvalin> m_mainWindow;
    std::unique_ptr<SingleInstance> m_instance;
};
