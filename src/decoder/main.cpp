// corvalin-decode: decodes one picture file, given as its standard input, into the 400 x 300
// pixels the game stores, and answers on its standard output (DecoderAnswer.h). It seals itself
// before it reads the first byte, so that a file made to take over a decoder finds a process
// that can do nothing but compute and answer.
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

#include "core/layout/SkinLayout.h"
#include "core/library/DecodeLimits.h"
#include "core/sandbox/DecoderAnswer.h"
#include "core/sandbox/DecoderProcess.h"
#include "core/sandbox/Seal.h"
#include "decoder/DecoderSetup.h"
#include "decoder/PictureDecoder.h"

namespace {

constexpr std::size_t kReadChunk = 1 << 20;

// The whole input, or nothing when it is larger than any picture file may be.
std::optional<std::vector<std::uint8_t>> ReadInput() {
    std::vector<std::uint8_t> bytes;
    for (;;) {
        const std::size_t had = bytes.size();
        if (had > kMaxPictureFileBytes) return std::nullopt;
        bytes.resize(had + kReadChunk);
        const ssize_t count = ::read(STDIN_FILENO, bytes.data() + had, kReadChunk);
        if (count < 0 && errno == EINTR) {
            bytes.resize(had);
            continue;
        }
        bytes.resize(had + static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
        if (count < 0) return std::nullopt;
        if (count == 0) return bytes;
    }
}

void WriteAll(const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return;
        done += static_cast<std::size_t>(count);
    }
}

std::vector<std::uint8_t> Answer(const DecodedPicture& picture) {
    if (picture.image.isNull()) return RefusalAnswer(picture.refusal);
    const QImage& image = picture.image;
    std::vector<std::uint8_t> rgb;
    rgb.reserve(static_cast<std::size_t>(image.width()) * image.height() * 3);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            rgb.insert(rgb.end(), {static_cast<std::uint8_t>(qRed(line[x])),
                                   static_cast<std::uint8_t>(qGreen(line[x])),
                                   static_cast<std::uint8_t>(qBlue(line[x]))});
    }
    return PixelsAnswer(image.width(), image.height(), rgb);
}

}  // namespace

int main(int argc, char** argv) {
    if (!EndWithCaller(CallerOf(argc, argv))) ::_exit(1);
    QCoreApplication application(argc, argv);
    PrepareDecoding();
    WarmUpDecoders();
    const std::string notSealed = SealDecoder();
    if (!notSealed.empty()) {
        WriteAll(RefusalAnswer("the decoder could not be sealed: " + notSealed));
        ::_exit(1);
    }
    const std::optional<std::vector<std::uint8_t>> bytes = ReadInput();
    WriteAll(bytes ? Answer(DecodePicture(
                         *bytes, QSize(layout::kPictureSize.width, layout::kPictureSize.height)))
                   : RefusalAnswer("larger than any picture file"));
    // Straight out: the teardown of Qt and the codecs would make calls the seal forbids.
    ::_exit(0);
}
