#pragma once

#include <QApplication>
#include <memory>
#include <string>

#include "skin/ImagePackage.h"

class CCorvalin;

// The one application object: both packages and the current choice (picture and
// board size), shared by every window for the whole run. Nothing is kept between runs.
class CCorvalinApp : public QApplication {
public:
    CCorvalinApp(int& argc, char** argv);
    ~CCorvalinApp() override;

    // Loads the packages from the program's directory, chooses the first picture and
    // 3 x 4, then builds and shows the main window. True when the window is shown.
    bool InitInstance();
    // Destroys the main window; returns the exit code of the event loop's run.
    int ExitInstance(int loopResult);

    // Sets the data directory (ending with '/') and loads Skin.dat and Pic.dat from it,
    // resetting the current choice to its first picture and 3 x 4. Tests call it directly.
    void LoadData(const std::string& directory);
    // The full path of a data file beside the program.
    std::string DataFile(const std::string& name) const { return m_dataDirectory + name; }

    CCorvalin* MainWindow() const { return m_mainWindow.get(); }

    std::string m_currentPicture;
    int m_boardCols = 0;
    int m_boardRows = 0;
    ImagePackage m_skinPackage;
    ImagePackage m_picturePackage;

private:
    std::string m_dataDirectory;
    std::unique_ptr<CCorvalin> m_mainWindow;
};

// The running application object.
CCorvalinApp* App();
