#include "library/PictureImport.h"

#include <QFile>

#include "core/io/FileError.h"
#include "core/io/FileIO.h"
#include "core/io/ProgramDirectory.h"
#include "core/library/PictureFile.h"
#include "core/library/ScratchDirectory.h"
#include "core/sandbox/DecoderAnswer.h"
#include "core/sandbox/DecoderProcess.h"
#include "library/BitmapFile.h"
#include "skin/EdgeRect.h"
#include "skin/SkinImage.h"

#ifndef CORVALIN_MODULES_FROM_PROGRAM
#define CORVALIN_MODULES_FROM_PROGRAM ""
#endif

namespace {

constexpr char kDecoderProgram[] = "corvalin-decode";
// Far beyond the largest photo's decoding; the decoder's own processor limit comes first
// unless it sleeps.
constexpr std::chrono::seconds kDecodeTimeLimit{30};

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

// The decoder is installed beside the programs, or in the folder for their private files.
std::string DecoderPath() {
    return GetProgramDirectory() + CORVALIN_MODULES_FROM_PROGRAM + kDecoderProgram;
}

QImage ImageOf(const DecoderAnswer& answer) {
    QImage image(answer.width, answer.height, QImage::Format_RGB32);
    const std::uint8_t* rgb = answer.rgb.data();
    for (int y = 0; y < answer.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < answer.width; ++x, rgb += 3) line[x] = qRgb(rgb[0], rgb[1], rgb[2]);
    }
    return image;
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

ImportedPicture Convert(const std::string& path, const std::function<bool()>& keepGoing) {
    const Descriptor file = OpenPictureFile(path);
    if (file.Get() < 0) return Refused(ImportRefusal::InvalidFile, "not a picture file");
    const int width = layout::kPictureSize.width;
    const int height = layout::kPictureSize.height;
    const DecoderRun run = RunDecoder(DecoderPath(), file.Get(),
                                      {MaxAnswerBytes(width, height), kDecodeTimeLimit}, keepGoing);
    if (run.end == DecoderRun::End::Cancelled) return Refused(ImportRefusal::Cancelled);
    if (!run.ExitedCleanly()) return Refused(ImportRefusal::InvalidFile, "the decoder failed");
    const DecoderAnswer answer = ParseDecoderAnswer(run.output, width, height);
    if (answer.kind != DecoderAnswer::Kind::Pixels)
        return Refused(ImportRefusal::InvalidFile, answer.reason);
    ImportedPicture picture;
    try {
        picture.jpeg = ConvertToJpeg(ImageOf(answer));
    } catch (const FileError& error) {
        return Refused(ImportRefusal::NotConverted, error.what());
    }
    return picture;
}

}  // namespace

ImportedPicture ConvertPicture(const std::string& path) { return Convert(path, {}); }

PictureConverter CancellableConverter(std::function<bool()> keepGoing) {
    return [keepGoing = std::move(keepGoing)](const std::string& path) {
        return Convert(path, keepGoing);
    };
}

QString RefusalMessage(const ImportedPicture& picture) {
    switch (picture.refusal) {
        case ImportRefusal::None:
        case ImportRefusal::Cancelled:
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
