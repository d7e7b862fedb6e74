#pragma once

#include <string>

#include "core/io/ProgramDirectory.h"
#include "core/library/PictureLibrary.h"
#include "core/package/ImagePackage.h"

// What every window shares for the whole run: both packages and the current choice (picture
// and board size). Nothing is kept between runs. The application object is the one instance.
// The picture package belongs to the picture library, which alone changes it and Pic.dat.
class AppState {
public:
    virtual ~AppState();

    // Sets where the data files are and loads Skin.dat and Pic.dat from there, resetting the
    // current choice to its first picture and 3 x 4. The Skin@2x.dat beside the Skin.dat read
    // is kept only when AcceptSkin2x takes it; otherwise m_skinPackage2x stays empty.
    void LoadData(const DataFolders& folders);
    // The same with every file in one directory (ending with '/').
    void LoadData(const std::string& directory) { LoadData(DataFolders{directory, ""}); }
    // The full path to read a data file from.
    std::string DataFile(const std::string& name) const;
    // The full path to write a data file to; makes the player's folder when it is missing.
    std::string DataFileToWrite(const std::string& name) const;

    std::string m_currentPicture;
    int m_boardCols = 0;
    int m_boardRows = 0;
    ImagePackage m_skinPackage;
    // The same pictures at twice the size, for screens scaled above 1; empty when there is none.
    ImagePackage m_skinPackage2x;
    PictureLibrary m_pictureLibrary;
    const ImagePackage& m_picturePackage = m_pictureLibrary.Package();

protected:
    AppState();

    // Whether skin2x may stand in for skin, checked by a layer that can measure pictures: the
    // windowless state cannot, so by itself it never takes one.
    virtual bool AcceptSkin2x(const ImagePackage& skin, const ImagePackage& skin2x) const;

private:
    DataFolders m_folders;
};

// The running application's state; null before the application object exists.
AppState* App();
