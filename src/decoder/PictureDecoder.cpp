#include "decoder/PictureDecoder.h"

#include <malloc.h>

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>

#include "core/library/ChunkOrientation.h"
#include "core/library/CutShortPicture.h"
#include "core/library/DecodeLimits.h"
#include "core/library/HeifCanvas.h"
#include "decoder/HeifDecoder.h"
#include "decoder/JpegDecoder.h"
#include "decoder/Orientation.h"
#include "decoder/ReaderComplaints.h"
#include "decoder/TiffDecoder.h"

namespace {

// The decoded image, and a copy converted for smooth scaling.
constexpr unsigned kQtBytesPerPixel = 8;
// What new memory holds in the two decodes of a picture that is decoded twice.
constexpr int kFirstFill = 0x5A;
constexpr int kSecondFill = 0xA5;

DecodedPicture Refused(std::string why) { return {QImage(), std::move(why)}; }

QImage DecodeWithQt(std::span<const std::uint8_t> bytes, const QSize& size) {
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    // Before the reader, so that what it says as it is destroyed is counted too.
    ReaderComplaints complaints;
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    // Turned after stretching, so the full-size picture is never copied to turn it. Qt's PNG
    // and WebP readers leave their EXIF chunks alone (Qt 6.4): those are read here.
    reader.setAutoTransform(false);
    const QSize declared = reader.size();
    // A bitmap stored top row first reports a negative height.
    if (!declared.isValid() && !(declared.width() > 0 && declared.height() < 0)) return {};
    if (!DeclaredSizeAcceptable(static_cast<std::uint64_t>(declared.width()),
                                static_cast<std::uint64_t>(qAbs(declared.height())),
                                kQtBytesPerPixel))
        return {};
    const std::optional<int> chunkOrientation = ChunkOrientation(bytes);
    const int orientation = chunkOrientation.value_or(OrientationOf(reader.transformation()));
    const QImage image = reader.read();
    if (complaints.Any() || image.isNull()) return {};
    return UprightStretched(image, orientation, size);
}

QImage DecodeTiffStretched(std::span<const std::uint8_t> bytes, const QSize& size, int fill) {
    int orientation = 1;
    const QImage stored = DecodeTiff(bytes, static_cast<std::uint8_t>(fill), &orientation);
    return stored.isNull() ? stored : UprightStretched(stored, orientation, size);
}

// Decodes twice, new memory filled with other bytes each time: a decoder that reads what it
// never wrote (past a colour table, freed memory, rows it skipped) gives two pictures.
DecodedPicture DecodedTwice(const std::function<QImage(int fill)>& decode) {
    ::mallopt(M_PERTURB, kFirstFill);
    const QImage first = decode(kFirstFill);
    QImage second;
    if (!first.isNull()) {
        ::mallopt(M_PERTURB, kSecondFill);
        second = decode(kSecondFill);
    }
    ::mallopt(M_PERTURB, 0);
    if (first.isNull() || second.isNull()) return Refused("not a whole picture");
    if (first != second) return Refused("its pixels depend on memory the decoder never wrote");
    return {first, {}};
}

// PNG and WebP, whose libraries write every pixel they return and report any they could not,
// which Qt's readers pass on as a complaint: one decode tells all.
bool DecodesWhollyOrComplains(std::span<const std::uint8_t> bytes) {
    constexpr std::uint8_t kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const bool png =
        bytes.size() >= sizeof kPng && std::equal(kPng, kPng + sizeof kPng, bytes.begin());
    const bool webp = bytes.size() >= 12 && std::memcmp(bytes.data(), "RIFF", 4) == 0 &&
                      std::memcmp(bytes.data() + 8, "WEBP", 4) == 0;
    return png || webp;
}

DecodedPicture Decoded(QImage image) {
    if (image.isNull()) return Refused("not a whole picture");
    return {std::move(image), {}};
}

// The picture as it is stored: transparent parts on black, as the game has always shown them.
QImage Opaque(const QImage& image) {
    if (!image.hasAlphaChannel()) return image.convertToFormat(QImage::Format_RGB32);
    QImage surface(image.size(), QImage::Format_RGB32);
    surface.fill(Qt::black);
    QPainter painter(&surface);
    painter.drawImage(0, 0, image);
    return surface;
}

DecodedPicture DecodeAny(std::span<const std::uint8_t> bytes, const QSize& size) {
    if (bytes.empty()) return Refused("empty");
    if (IsCutShort(bytes)) return Refused("cut short");
    if (LooksLikeJpeg(bytes)) {
        const QImage upright = DecodeJpeg(bytes, size);
        if (upright.isNull()) return Refused("not a whole picture");
        return Decoded(upright.size() == size
                           ? upright
                           : upright.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    if (StartsWithFileTypeBox(bytes)) {
        // An overlay places its images itself, and libheif 1.15 reads past them when they
        // reach outside its canvas.
        const std::vector<CanvasSize> canvases = StatedCanvasSizes(bytes);
        if (std::any_of(canvases.begin(), canvases.end(),
                        [](const CanvasSize& canvas) { return canvas.overlay; }))
            return DecodedTwice([&](int) { return DecodeHeif(bytes, size); });
        return Decoded(DecodeHeif(bytes, size));
    }
    if (LooksLikeTiff(bytes))
        return DecodedTwice([&](int fill) { return DecodeTiffStretched(bytes, size, fill); });
    if (DecodesWhollyOrComplains(bytes)) return Decoded(DecodeWithQt(bytes, size));
    return DecodedTwice([&](int) { return DecodeWithQt(bytes, size); });
}

}  // namespace

DecodedPicture DecodePicture(std::span<const std::uint8_t> bytes, const QSize& size) {
    DecodedPicture picture = DecodeAny(bytes, size);
    if (!picture.image.isNull()) picture.image = Opaque(picture.image);
    return picture;
}
