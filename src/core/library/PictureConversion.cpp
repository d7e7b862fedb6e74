#include "core/library/PictureConversion.h"

#include <fcntl.h>
#include <unistd.h>

#include "core/io/Descriptor.h"
#include "core/io/FileError.h"
#include "core/io/FileIO.h"
#include "core/io/ProgramDirectory.h"
#include "core/layout/SkinLayout.h"
#include "core/library/PictureFile.h"
#include "core/library/ScratchDirectory.h"
#include "core/picture/BitmapFile.h"
#include "core/picture/BmpReader.h"
#include "core/picture/JpegFile.h"
#include "core/sandbox/DecoderAnswer.h"
#include "core/sandbox/DecoderProcess.h"
#include "core/text/Translation.h"

#ifndef CORVALIN_MODULES_FROM_PROGRAM
#define CORVALIN_MODULES_FROM_PROGRAM ""
#endif

namespace {

constexpr char kDecoderProgram[] = "corvalin-decode";
// The decoder of every format, which the decoder starts in its place, beside it.
constexpr char kAllFormatsDecoderProgram[] = "corvalin-decode-all";
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

bool RefusesCleanly(const std::string& decoder, int input, std::chrono::milliseconds checkLimit) {
    const DecoderRun run = RunDecoder(decoder, input, {MaxAnswerBytes(0, 0), checkLimit}, {});
    return run.ExitedCleanly() &&
           ParseDecoderAnswer(run.output, 0, 0).kind == DecoderAnswer::Kind::Refused;
}

// A decoder that fails on a file may have met a hostile one; one that also fails on no input
// at all, where it must refuse and end cleanly, and at once, is broken: the path of the program
// that is, empty when it works. It is asked twice: with an empty file, and with an empty pipe,
// which it cannot look into before reading and so hands to the decoder of every format beside
// it, which must refuse it as cleanly; failing there, that one is the broken program.
std::string BrokenDecoder(const std::string& decoder, std::chrono::milliseconds checkLimit) {
    const Descriptor nothing(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    if (!RefusesCleanly(decoder, nothing.Get(), checkLimit)) return decoder;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return {};
    const Descriptor emptyPipe(ends[0]);
    ::close(ends[1]);
    if (RefusesCleanly(decoder, emptyPipe.Get(), checkLimit)) return {};
    return decoder.substr(0, decoder.rfind('/') + 1) + kAllFormatsDecoderProgram;
}

// Bitmap file, decoded again, saved as JPEG, read back whole. Returns the JPEG's bytes, or
// throws FileError naming the step that failed.
std::vector<std::uint8_t> ConvertToJpeg(const DecoderAnswer& answer) {
    ScratchDirectory scratch("corvalin-import-");
    const std::string bitmapPath = scratch.Path() + kScratchBitmap;
    const std::string jpegPath = scratch.Path() + kScratchJpeg;
    if (!WriteBitmapFile(answer.rgb, answer.width, answer.height, bitmapPath))
        throw FileError(bitmapPath, Tr("could not be written"));
    const std::optional<std::vector<std::uint8_t>> bitmapFile = ReadWholeFile(bitmapPath);
    BmpPicture bitmap;
    if (bitmapFile) bitmap = ReadBmp(*bitmapFile);
    if (bitmap.image.width == 0 || bitmap.image.height == 0)
        throw FileError(bitmapPath, Tr("could not be read back"));
    const std::vector<std::uint8_t> encoded = EncodeJpeg(bitmap.image);
    if (encoded.empty()) throw FileError(jpegPath, Tr("could not be written"));
    {
        const Descriptor file(
            ::open(jpegPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
        if (file.Get() < 0) throw FileError(jpegPath, Tr("could not be written"));
        WriteAll(file.Get(), encoded, jpegPath);
    }
    std::optional<std::vector<std::uint8_t>> jpeg = ReadWholeFile(jpegPath);
    if (!jpeg) throw FileError(jpegPath, Tr("disappeared"));
    const std::optional<layout::Size> size = StatedJpegSize(*jpeg);
    if (!size || size->width != layout::kPictureSize.width ||
        size->height != layout::kPictureSize.height)
        throw FileError(jpegPath, Tr("is not a 400 x 300 picture"));
    return std::move(*jpeg);
}

ImportedPicture Convert(const std::string& decoder, const std::string& path,
                        const std::function<bool()>& keepGoing,
                        std::chrono::milliseconds checkLimit) {
    if (decoder.empty()) return Refused(ImportRefusal::NoDecoder);
    const Descriptor file = OpenPictureFile(path);
    if (file.Get() < 0) return Refused(ImportRefusal::InvalidFile, "not a picture file");
    const int width = layout::kPictureSize.width;
    const int height = layout::kPictureSize.height;
    const DecoderRun run = RunDecoder(decoder, file.Get(),
                                      {MaxAnswerBytes(width, height), kDecodeTimeLimit}, keepGoing);
    if (run.end == DecoderRun::End::Cancelled) return Refused(ImportRefusal::Cancelled);
    // Only a whole answer of a decoder that ended by itself, and cleanly, is taken.
    DecoderAnswer answer;
    answer.reason = "the decoder failed";
    if (run.ExitedCleanly()) answer = ParseDecoderAnswer(run.output, width, height);
    if (answer.kind == DecoderAnswer::Kind::Broken) {
        const std::string broken = BrokenDecoder(decoder, checkLimit);
        if (!broken.empty()) return Refused(ImportRefusal::NoDecoder, broken);
    }
    if (answer.kind != DecoderAnswer::Kind::Pixels)
        return Refused(ImportRefusal::InvalidFile, answer.reason);
    ImportedPicture picture;
    try {
        picture.jpeg = ConvertToJpeg(answer);
    } catch (const FileError& error) {
        return Refused(ImportRefusal::NotConverted, error.what());
    }
    return picture;
}

}  // namespace

ImportedPicture ConvertPicture(const std::string& path) {
    return Convert(DecoderPath(), path, {}, kDecoderCheckLimit);
}

PictureConverter CancellableConverter(std::function<bool()> keepGoing) {
    return ConverterWith(DecoderPath(), std::move(keepGoing));
}

PictureConverter ConverterWith(std::string decoder, std::function<bool()> keepGoing,
                               std::chrono::milliseconds checkLimit) {
    return [decoder = std::move(decoder), keepGoing = std::move(keepGoing), checkLimit](
               const std::string& path) { return Convert(decoder, path, keepGoing, checkLimit); };
}

std::string RefusalText(const ImportedPicture& picture) {
    switch (picture.refusal) {
        case ImportRefusal::None:
        case ImportRefusal::Cancelled:
            return {};
        case ImportRefusal::DuplicateName:
            return Tr(
                "A file with the desired name already exists in the library.\n"
                "please use a different name and try again.!");
        case ImportRefusal::NameTooLong:
            return Tr(
                "The file name is too long for the library.\n"
                "please use a shorter name and try again.");
        case ImportRefusal::InvalidFile:
            return Tr("Invalid file!");
        case ImportRefusal::NotConverted:
            // TRANSLATORS: %1 names the file and says what went wrong with it.
            return Substitute(Tr("The picture could not be converted.\n%1"), {picture.detail});
        case ImportRefusal::NoDecoder:
            if (picture.detail.empty())
                return Tr(
                    "The picture decoder cannot be found: Corvalin cannot tell where its own "
                    "program lies (/proc/self/exe cannot be read), and so where the decoder "
                    "is.\nNo picture can be added.");
            // TRANSLATORS: %1 is the decoder program's path.
            return Substitute(
                Tr("The picture decoder %1 is missing or damaged; reinstall Corvalin."),
                {picture.detail});
    }
    return {};
}
