#pragma once

#include <string>

#include "core/io/ProgramDirectory.h"
#include "core/library/PictureLibrary.h"
#include "core/package/ImagePackage.h"

struct SkinCompanion;

// What every window shares for the whole run: both packages and the current choice (picture
// and board size). Nothing is kept between runs. The application object is the one instance.
// The picture package belongs to the picture library, which alone changes it and Pic.dat.
class AppState {
public:
    virtual ~AppState();

    // Sets where the data files are and loads Skin.dat and Pic.dat from there, resetting the
    // current choice to its first picture and 3 x 4. Beside the Skin.dat read, its Skin@2x.dat
    // and the language package of the first of the player's languages that has one (with its
    // 2x package, when there is a 2x skin) are kept when they match it; one that does not is
    // left empty, with one warning.
    void LoadData(const DataFolders& folders);
    // The same with every file in one directory (ending with '/').
    void LoadData(const std::string& directory) { LoadData(DataFolders{directory, ""}); }
    // The package to draw the skin picture of that name from, at 1x or at 2x: the language
    // package where it holds that picture, else the skin; reads no picture.
    const ImagePackage& SkinPackageFor(const std::string& name, bool at2x) const;
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
    // The skin's pictures with words, lettered in the player's language, at 1x and 2x; empty
    // when there are none.
    ImagePackage m_languagePackage;
    ImagePackage m_languagePackage2x;
    PictureLibrary m_pictureLibrary;
    const ImagePackage& m_picturePackage = m_pictureLibrary.Package();

protected:
    AppState();

    // Tells of a package beside the skin that is left out because it does not match; by
    // default nothing is said.
    virtual void Warn(const std::string& message) const;

private:
    // Loads the package at path, when the file is there, and keeps it when it can stand in
    // for base's pictures as companion says; otherwise leaves it empty and warns. True when
    // kept.
    bool LoadCompanion(ImagePackage& package, const std::string& path, const ImagePackage& base,
                       const std::string& basePath, const SkinCompanion& companion);
    // The language package of the first of the player's languages that has one beside
    // skinFile.
    void LoadLanguagePackages(const std::string& skinFile);

    DataFolders m_folders;
};

// The running application's state; null before the application object exists.
AppState* App();
