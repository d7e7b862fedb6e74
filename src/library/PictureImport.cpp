#include "library/PictureImport.h"

#include <fcntl.h>

#include <QFile>
#include <thread>

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

// The decoder is installed beside the programs, or in the folder for their private files; ""
// when this program cannot tell where it lies itself (no /proc): then there is no decoder,
// rather than one looked for wherever the import happens to run.
std::string DecoderPath() {
    const std::string directory = GetProgramDirectory();
    return directory.empty() ? "" : directory + CORVALIN_MODULES_FROM_PROGRAM + kDecoderProgram;
}

// A decoder that fails on a file may have met a hostile one; one that also fails on no input
// at all, where it must refuse and end cleanly, is broken.
bool DecoderWorks(const std::string& decoder) {
    const Descriptor nothing(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    const DecoderRun run =
        RunDecoder(decoder, nothing.Get(), {MaxAnswerBytes(0, 0), kDecodeTimeLimit}, {});
    return run.ExitedCleanly() &&
           ParseDecoderAnswer(run.output, 0, 0).kind == DecoderAnswer::Kind::Refused;
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

ImportedPicture Convert(const std::string& decoder, const std::string& path,
                        const std::function<bool()>& keepGoing) {
    if (decoder.empty()) return Refused(ImportRefusal::NoDecoder);
    const Descriptor file = OpenPictureFile(path);
    if (file.Get() < 0) return Refused(ImportRefusal::InvalidFile, "not a picture file");
    const int width = layout::kPictureSize.width;
    const int height = layout::kPictureSize.height;
    // The first lookup of an image writer loads every image plugin Qt has (a few milliseconds, a
    // large part of a small picture's import in a fresh process): done while the decoder works,
    // the conversion finds them loaded.
    std::thread writerLookup([] {
        QByteArray format;
        FindEncoderByMime(QStringLiteral("image/jpeg"), format);
    });
    const DecoderRun run = RunDecoder(decoder, file.Get(),
                                      {MaxAnswerBytes(width, height), kDecodeTimeLimit}, keepGoing);
    writerLookup.join();
    if (run.end == DecoderRun::End::Cancelled) return Refused(ImportRefusal::Cancelled);
    // Only a whole answer of a decoder that ended by itself, and cleanly, is taken.
    DecoderAnswer answer;
    answer.reason = "the decoder failed";
    if (run.ExitedCleanly()) answer = ParseDecoderAnswer(run.output, width, height);
    if (answer.kind == DecoderAnswer::Kind::Broken && !DecoderWorks(decoder))
        return Refused(ImportRefusal::NoDecoder, decoder);
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

ImportedPicture ConvertPicture(const std::string& path) { return Convert(DecoderPath(), path, {}); }

PictureConverter CancellableConverter(std::function<bool()> keepGoing) {
    return ConverterWith(DecoderPath(), std::move(keepGoing));
}

PictureConverter ConverterWith(std::string decoder, std::function<bool()> keepGoing) {
    return [decoder = std::move(decoder), keepGoing = std::move(keepGoing)](
               const std::string& path) { return Convert(decoder, path, keepGoing); };
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
        case ImportRefusal::NoDecoder:
            if (picture.detail.empty())
                return QStringLiteral(
                    "The picture decoder cannot be found: Corvalin cannot tell where its own "
                    "program lies (/proc/self/exe cannot be read), and so where the decoder "
                    "is.\nNo picture can be added.");
            return QStringLiteral("The picture decoder ") +
                   QFile::decodeName(picture.detail.c_str()) +
                   QStringLiteral(" is missing or damaged; reinstall Corvalin.");
    }
    return {};
}
