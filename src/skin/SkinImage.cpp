#include "skin/SkinImage.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>
#include <QPainter>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>
#include <new>
#include <utility>
#include <vector>

#include "core/picture/PictureSize.h"

namespace {

// Reads the whole image now. Embedded colour profiles are dropped: pictures are shown with
// their stored values, as every skin author sees them in the files.
QImage Decode(QImageReader& reader) {
    QImage image = reader.read();
    if (image.isNull()) return image;
    image.setColorSpace(QColorSpace());
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

// Several owners often hold the same picture at once: the board, the game panel's thumbnail and
// the library's preview all show the current one. They share one decode, since QImage shares its
// pixels until they are written and a SkinImage never writes them. Used on the GUI thread only.
class SharedDecodes {
public:
    QImage Find(std::span<const std::uint8_t> bytes) {
        // A decode that no image holds any more is of no use to anyone.
        std::erase_if(m_decodes, [](const Decoded& decoded) { return decoded.image.isDetached(); });
        for (const Decoded& decoded : m_decodes) {
            if (std::ranges::equal(decoded.bytes, bytes)) return decoded.image;
        }
        return {};
    }
    void Keep(std::span<const std::uint8_t> bytes, const QImage& image) {
        m_decodes.push_back({std::vector<std::uint8_t>(bytes.begin(), bytes.end()), image});
    }

private:
    struct Decoded {
        std::vector<std::uint8_t> bytes;
        QImage image;
    };
    std::vector<Decoded> m_decodes;
};

// The format of the two kinds of bytes packages hold, known from their first bytes: told to the
// reader, it loads only that one decoder instead of asking every image plugin installed.
QByteArray FormatOf(std::span<const std::uint8_t> bytes) {
    if (IsJpegFile(bytes)) return "jpeg";
    if (IsBitmapFile(bytes)) return "bmp";
    return {};
}

SharedDecodes& Decodes() {
    static SharedDecodes decodes;
    return decodes;
}

}  // namespace

SkinImage::SkinImage(QByteArray encoded, Source2x source2x)
    : m_encoded(std::move(encoded)), m_source2x(std::move(source2x)) {}

SkinImage::~SkinImage() = default;

std::unique_ptr<SkinImage> SkinImage::CreateFromBytes(std::span<const std::uint8_t> bytes,
                                                      Source2x source2x) {
    // The copy is what a later decode reads; no bytes at all are an image that failed.
    const QByteArray copy(reinterpret_cast<const char*>(bytes.data()),
                          static_cast<qsizetype>(bytes.size()));
    return std::unique_ptr<SkinImage>(new (std::nothrow) SkinImage(copy, std::move(source2x)));
}

namespace {

// Decodes bytes kept for later, or takes the decode another image already made of them; null
// when they do not decode.
QImage DecodeKept(QByteArray& kept) {
    const QByteArray encoded = std::exchange(kept, QByteArray());
    const std::span<const std::uint8_t> bytes(
        reinterpret_cast<const std::uint8_t*>(encoded.constData()),
        static_cast<std::size_t>(encoded.size()));
    if (QImage shared = Decodes().Find(bytes); !shared.isNull()) return shared;
    QBuffer buffer;
    buffer.setData(encoded);
    buffer.open(QIODevice::ReadOnly);
    // The default allocation limit guards against crafted sizes.
    const QByteArray format = FormatOf(bytes);
    QImageReader reader(&buffer, format);
    // With detection on, Qt would still load every image plugin to ask each about the format.
    if (!format.isEmpty()) reader.setAutoDetectImageFormat(false);
    QImage image = Decode(reader);
    if (!image.isNull()) Decodes().Keep(bytes, image);
    return image;
}

}  // namespace

const QImage& SkinImage::Pixels() const {
    if (!m_encoded.isEmpty()) m_image = DecodeKept(m_encoded);
    return m_image;
}

const QImage& SkinImage::Pixels2x() const {
    // A 2x picture that fails to decode is simply not there: the 1x one is drawn instead.
    if (m_source2x) {
        QByteArray encoded2x = std::exchange(m_source2x, Source2x())();
        if (!encoded2x.isEmpty()) m_image2x = DecodeKept(encoded2x);
    }
    return m_image2x;
}

QSize SkinImage::OwnSize() const {
    // Once the 2x picture is drawn, the 1x one need not be decoded just to be measured.
    if (!m_encoded.isEmpty() && !m_image2x.isNull()) return m_image2x.size() / 2;
    return Pixels().size();
}

unsigned SkinImage::GetWidth() const { return static_cast<unsigned>(OwnSize().width()); }

unsigned SkinImage::GetHeight() const { return static_cast<unsigned>(OwnSize().height()); }

void SkinImage::DrawInto(QPainter& painter, int x, int y, int width, int height) const {
    const qreal ratio = painter.device()->devicePixelRatioF();
    const QImage& image2x = ratio > 1 ? Pixels2x() : QImage();
    const bool use2x = !image2x.isNull();
    const QImage& image = use2x ? image2x : Pixels();
    if (image.isNull()) return;
    // A stretched picture is filtered (bilinear), or its lines and edges turn into stairs; one
    // at its own size is copied pixel for pixel either way, and so is a 2x picture at a ratio of
    // exactly 2. Filtered at any other ratio, a 2x picture shrinks evenly instead of dropping
    // every third or fourth row.
    const bool ownSize = QSize(width, height) == (use2x ? image.size() / 2 : image.size());
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !ownSize || (use2x && ratio != 2));
    painter.drawImage(QRect(x, y, width, height), image, image.rect());
    painter.restore();
}

void SkinImage::DrawAt(QPainter& painter, int x, int y) const {
    // Measured once the 2x picture is decoded, so that above a ratio of 1 the 1x picture is not
    // decoded only to be measured.
    const qreal ratio = painter.device()->devicePixelRatioF();
    if (ratio > 1) Pixels2x();
    const QSize size = OwnSize();
    DrawInto(painter, x, y, size.width(), size.height());
}

std::optional<QRegion> SkinImage::OpaqueArea(qreal ratio) const {
    const QImage& image2x = ratio > 1 ? Pixels2x() : QImage();
    const bool use2x = !image2x.isNull();
    const QImage& image = use2x ? image2x : Pixels();
    if (!image.hasAlphaChannel()) return std::nullopt;
    // Each run of opaque pixels of a row, scaled to the device as the drawing scales it.
    const qreal scale = use2x ? ratio / 2 : ratio;
    const auto device = [scale](int length) {
        return static_cast<int>(std::lround(length * scale));
    };
    QRegion opaque;
    bool anyClear = false;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width();) {
            while (x < image.width() && qAlpha(row[x]) < 128) {
                anyClear = true;
                ++x;
            }
            const int start = x;
            while (x < image.width() && qAlpha(row[x]) >= 128) ++x;
            if (x > start)
                opaque += QRect(QPoint(device(start), device(y)),
                                QPoint(device(x) - 1, device(y + 1) - 1));
        }
    }
    if (!anyClear) return std::nullopt;
    return opaque;
}

QString WidenText(std::string_view text) {
    const QByteArrayView bytes(text.data(), static_cast<qsizetype>(text.size()));
    QStringDecoder decoder(QStringDecoder::System, QStringDecoder::Flag::Stateless);
    QString wide = decoder(bytes);
    // A name from an old disk is not valid here; Latin-1 reads it as it was written
    // ("café" rather than a replacement character).
    if (decoder.hasError()) return QString::fromLatin1(bytes);
    return wide;
}
