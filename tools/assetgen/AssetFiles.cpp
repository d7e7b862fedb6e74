#include "AssetFiles.h"

#include <QString>
#include <stdexcept>

#include "Catalogue.h"
#include "JpegBytes.h"
#include "Lettering.h"
#include "Pictures.h"
#include "Skin.h"
#include "core/layout/SkinLayout.h"
#include "core/package/ImagePackage.h"
#include "core/scores/ScoreFile.h"
#include "core/skin/SkinFiles.h"
#include "res/ProgramIcon.h"

namespace {

// The skin must be exactly the required set, at the sizes the windows draw them times scale.
void CheckSkin(const NamedImages& skin, int scale) {
    if (skin.size() != layout::kSkinPictures.size()) {
        throw std::logic_error("skin has " + std::to_string(skin.size()) + " pictures, not " +
                               std::to_string(layout::kSkinPictures.size()));
    }
    for (const layout::SkinPicture& required : layout::kSkinPictures) {
        int found = 0;
        for (const NamedImage& picture : skin) {
            if (picture.name != required.name) continue;
            ++found;
            if (picture.image.width() != required.PictureSize().width * scale ||
                picture.image.height() != required.PictureSize().height * scale) {
                throw std::logic_error(picture.name + " is painted at the wrong size");
            }
        }
        if (found != 1) throw std::logic_error(std::string(required.name) + " missing or twice");
    }
}

void CheckPictures(const NamedImages& pictures) {
    for (const NamedImage& picture : pictures) {
        if (picture.image.width() != kPictureWidth || picture.image.height() != kPictureHeight) {
            throw std::logic_error(picture.name + " is not 400 by 300");
        }
    }
}

void SavePackage(const NamedImages& pictures, const std::filesystem::path& path) {
    ImagePackage package;
    for (const NamedImage& picture : pictures) {
        package.AddEntry(picture.name, JpegBytes(picture.image));
    }
    package.Save(path.string());
}

}  // namespace

void WriteAssetFiles(const std::filesystem::path& directory,
                     const std::filesystem::path& poDirectory) {
    std::filesystem::create_directories(directory);

    const std::string skinFile = (directory / "Skin.dat").string();
    for (const int scale : {1, 2}) {
        const NamedImages skin = PaintSkin(scale, EnglishLettering());
        CheckSkin(skin, scale);
        SavePackage(skin, scale == 1 ? skinFile : SkinFileAt2x(skinFile));
    }
    for (const std::string& language : ReadLanguageList(poDirectory / "LINGUAS")) {
        const Lettering lettering = ReadLettering(language, poDirectory / (language + ".po"));
        for (const int scale : {1, 2}) {
            NamedImages lettered = PaintSkin(scale, lettering);
            std::erase_if(lettered, [](const NamedImage& picture) { return !picture.lettered; });
            SavePackage(lettered,
                        SkinLanguageFile(scale == 1 ? skinFile : SkinFileAt2x(skinFile), language));
        }
    }

    const NamedImages pictures = PaintPuzzlePictures();
    CheckPictures(pictures);
    SavePackage(pictures, directory / "Pic.dat");

    ScoreTable noScores;
    StoreScoreFile((directory / "Score.dat").string(), noScores);

    // Painted afresh at each size, so that none is a blurred copy of another.
    for (const int size : kIconSizes) {
        const std::filesystem::path icon =
            directory / ("corvalin-" + std::to_string(size) + ".png");
        if (!PaintProgramIcon(size).save(QString::fromStdString(icon.string()), "PNG")) {
            throw std::runtime_error("cannot write " + icon.string());
        }
    }
}
