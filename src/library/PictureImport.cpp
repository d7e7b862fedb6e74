#include "library/PictureImport.h"

#include <QFile>
#include <QPainter>

#include "core/io/FileError.h"
#include "core/io/FileIO.h"
#include "core/library/ScratchDirectory.h"
#include "library/BitmapFile.h"
#include "library/PictureDecoder.h"
#include "skin/EdgeRect.h"
#include "skin/SkinImage.h"

namespace {

// The scratch files get fixed names: the directory is private and goes at the end, and a
// fixed name needs no care for the bytes of the player's file name.
constexpr char kScratchBitmap[] = "picture.bmp";
constexpr char kScratchJpeg[] = "picture.jpg";

ImportedPicture Refused(ImportRefusal refusal, std::string detail = {}) {
    ImportedPicture picture;
    picture.refusal = refusal;
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

ImportedPicture ConvertPicture(const std::string& path) {
    const QImage image = DecodeStretched(path, ToQSize(layout::kPictureSize));
    if (image.isNull()) return Refused(ImportRefusal::InvalidFile);
    ImportedPicture picture;
    try {
        picture.jpeg = ConvertToJpeg(OpaqueSurface(image));
    } catch (const FileError& error) {
        return Refused(ImportRefusal::NotConverted, error.what());
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
