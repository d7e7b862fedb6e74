#include "library/PictureImport.h"

#include <QFile>
#include <QPainter>
#include <algorithm>

#include "core/io/FileError.h"
#include "core/io/FileIO.h"
#include "core/library/DisplayName.h"
#include "core/library/ScratchDirectory.h"
#include "core/package/ImagePackage.h"
#include "library/BitmapFile.h"
#include "library/PictureDecoder.h"
#include "skin/EdgeRect.h"
#include "skin/SkinImage.h"

namespace {

// The scratch files get fixed names: the directory is private and goes at the end, and a
// fixed name needs no care for the bytes of the player's file name.
constexpr char kScratchBitmap[] = "picture.bmp";
constexpr char kScratchJpeg[] = "picture.jpg";

std::string FileNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool ShownNameTaken(const std::string& fileName, const std::vector<std::string>& libraryNames) {
    const std::string shown = DisplayName(fileName);
    return std::any_of(libraryNames.begin(), libraryNames.end(),
                       [&](const std::string& name) { return DisplayName(name) == shown; });
}

ImportedPicture Refused(ImportRefusal refusal, std::string libraryName, std::string detail = {}) {
    ImportedPicture picture;
    picture.refusal = refusal;
    picture.libraryName = std::move(libraryName);
    picture.detail = std::move(detail);
    return picture;
}

// The decoded image on an opaque black 400 x 300 surface, as the stored picture shows it.
QImage OpaqueSurface(const QImage& image) {
    QImage surface(ToQSize(layout::kPictureSize), QImage::Format_RGB32);
    surface.fill(Qt::black);
    QPainter painter(&surface);
    painter.drawImage(QRect(QPoint(0, 0), surface.size()), image);
    return surface;
}

// Bitmap file, decoded again, saved as JPEG, read back whole. Returns the JPEG's bytes, or
// throws FileError naming the step that failed.
std::vector<std::uint8_t> ConvertToJpeg(const QImage& surface) {
    ScratchDirectory scratch("corvalin-import-");
    const std::string bitmapPath = scratch.Path() + kScratchBitmap;
    const std::string jpegPath = scratch.Path() + kScratchJpeg;
    if (!WriteBitmapFile(surface, bitmapPath)) throw FileError(bitmapPath, "could not be written");
    SkinImage bitmap = SkinImage::CreateFromFile(QFile::decodeName(bitmapPath.c_str()));
    if (bitmap.GetWidth() == 0 || bitmap.GetHeight() == 0)
        throw FileError(bitmapPath, "could not be read back");
    if (bitmap.SaveAsJpeg(QFile::decodeName(jpegPath.c_str())) != ImageStatus::Ok)
        throw FileError(jpegPath, "could not be written");
    std::optional<std::vector<std::uint8_t>> jpeg = ReadWholeFile(jpegPath);
    if (!jpeg) throw FileError(jpegPath, "disappeared");
    const std::unique_ptr<SkinImage> check = SkinImage::CreateFromBytes(*jpeg);
    if (check == nullptr || static_cast<int>(check->GetWidth()) != layout::kPictureSize.width ||
        static_cast<int>(check->GetHeight()) != layout::kPictureSize.height)
        throw FileError(jpegPath, "is not a whole 400 x 300 picture");
    return std::move(*jpeg);
}

}  // namespace

std::string LibraryNameFor(const std::string& path) {
    const std::string fileName = FileNameOf(path);
    const auto dot = fileName.rfind('.');
    return (dot == std::string::npos ? fileName : fileName.substr(0, dot)) + ".jpg";
}

ImportedPicture PreparePicture(const std::string& path,
                               const std::vector<std::string>& libraryNames) {
    std::string libraryName = LibraryNameFor(path);
    if (ShownNameTaken(FileNameOf(path), libraryNames) || Contains(libraryNames, libraryName))
        return Refused(ImportRefusal::DuplicateName, std::move(libraryName));
    if (libraryName.size() > ImagePackage::kMaxNameLength)
        return Refused(ImportRefusal::NameTooLong, std::move(libraryName));

    const QImage image =
        DecodeStretched(QFile::decodeName(path.c_str()), ToQSize(layout::kPictureSize));
    if (image.isNull()) return Refused(ImportRefusal::InvalidFile, std::move(libraryName));

    ImportedPicture picture;
    picture.libraryName = std::move(libraryName);
    try {
        picture.jpeg = ConvertToJpeg(OpaqueSurface(image));
    } catch (const FileError& error) {
        return Refused(ImportRefusal::NotConverted, std::move(picture.libraryName), error.what());
    }
    return picture;
}

QString RefusalMessage(const ImportedPicture& picture) {
    switch (picture.refusal) {
        case ImportRefusal::None:
            return {};
        case ImportRefusal::DuplicateName:
            return QStringLiteral(
                "A file with the desired name already exists in the library.\n"
                "please use a different name and try again.!");
        case ImportRefusal::NameTooLong:
            return QStringLiteral(
                "The file name is too long for the library.\n"
                "please use a shorter name and try again.");
        case ImportRefusal::InvalidFile:
            return QStringLiteral("Invalid file!");
        case ImportRefusal::NotConverted:
            return QStringLiteral("The picture could not be converted.\n") +
                   QString::fromLocal8Bit(picture.detail);
    }
    return {};
}
