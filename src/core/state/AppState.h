#pragma once

#include <string>

#include "core/library/PictureLibrary.h"
#include "core/package/ImagePackage.h"

// What every window shares for the whole run: both packages and the current choice (picture
// and board size). Nothing is kept between runs. The application object is the one instance.
// The picture package belongs to the picture library, which alone changes it and Pic.dat.
class AppState {
public:
    virtual ~AppState();

    // Sets the data directory (ending with '/') and loads Skin.dat and Pic.dat from it,
    // resetting the current choice to its first picture and 3 x 4.
    void LoadData(const std::string& directory);
    // The full path of a data file beside the program.
    std::string DataFile(const std::string& name) const { return m_dataDirectory + name; }

    std::string m_currentPicture;
    int m_boardCols = 0;
    int m_boardRows = 0;
    ImagePackage m_skinPackage;
    PictureLibrary m_pictureLibrary;
    const ImagePackage& m_picturePackage = m_pictureLibrary.Package();

protected:
    AppState();

private:
    std::string m_dataDirectory;
};

// The running application's state; null before the application object exists.
AppState* App();
