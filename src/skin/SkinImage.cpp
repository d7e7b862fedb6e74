#include "skin/SkinImage.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QStringDecoder>
#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "core/picture/PictureSize.h"

namespace {

// A player's own photo may be far larger than a skin picture; the reader's default limit
// (128 MB) would turn an ordinary 48-megapixel photo into an "invalid" file.
constexpr int kFileAllocationLimitMb = 512;

ImageStatus StatusOf(const QImageReader& reader) {
    return reader.error() == QImageReader::FileNotFoundError ? ImageStatus::FileNotFound
                                                             : ImageStatus::InvalidData;
}

// Reads the whole image now. Embedded colour profiles are dropped: pictures are shown and
// re-encoded with their stored values, as every skin author sees them in the files.
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

SkinImage::SkinImage(QImage image, ImageStatus status)
    : m_image(std::move(image)), m_lastStatus(status) {}

SkinImage::SkinImage(QByteArray encoded, Source2x source2x)
    : m_encoded(std::move(encoded)),
      m_lastStatus(ImageStatus::Ok),
      m_source2x(std::move(source2x)) {}

SkinImage::~SkinImage() = default;

std::unique_ptr<SkinImage> SkinImage::CreateFromBytes(std::span<const std::uint8_t> bytes,
                                                      Source2x source2x) {
    // No bytes at all can only fail; the copy is what a later decode reads.
    if (bytes.empty()) {
        return std::unique_ptr<SkinImage>(new (std::nothrow)
                                              SkinImage(QImage(), ImageStatus::InvalidData));
    }
    const QByteArray copy(reinterpret_cast<const char*>(bytes.data()),
                          static_cast<qsizetype>(bytes.size()));
    return std::unique_ptr<SkinImage>(new (std::nothrow) SkinImage(copy, std::move(source2x)));
}

namespace {

// Decodes bytes kept for later, or takes the decode another image already made of them; a
// failure leaves a null image and its status in status.
QImage DecodeKept(QByteArray& kept, ImageStatus& status) {
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
    if (image.isNull()) {
        status = StatusOf(reader);
    } else {
        Decodes().Keep(bytes, image);
    }
    return image;
}

}  // namespace

const QImage& SkinImage::Pixels() const {
    if (!m_encoded.isEmpty()) m_image = DecodeKept(m_encoded, m_lastStatus);
    return m_image;
}

const QImage& SkinImage::Pixels2x() const {
    // A 2x picture that fails to decode is simply not there: the 1x one is drawn instead.
    ImageStatus ignored = ImageStatus::Ok;
    if (m_source2x) {
        QByteArray encoded2x = std::exchange(m_source2x, Source2x())();
        if (!encoded2x.isEmpty()) m_image2x = DecodeKept(encoded2x, ignored);
    }
    return m_image2x;
}

SkinImage SkinImage::CreateFromFile(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QFile file(path);
    const QByteArray start = file.open(QIODevice::ReadOnly) ? file.read(3) : QByteArray();
    const QByteArray format =
        FormatOf(std::span(reinterpret_cast<const std::uint8_t*>(start.constData()),
                           static_cast<std::size_t>(start.size())));
    // Our own files: no other image plugin is loaded to be asked about them.
    if (!format.isEmpty()) {
        reader.setFormat(format);
        reader.setAutoDetectImageFormat(false);
    }
    reader.setAllocationLimit(kFileAllocationLimitMb);
    QImage image = Decode(reader);
    const ImageStatus status = image.isNull() ? StatusOf(reader) : ImageStatus::Ok;
    return SkinImage(std::move(image), status);
}

QSize SkinImage::OwnSize() const {
    // Once the 2x picture is drawn, the 1x one need not be decoded just to be measured.
    if (!m_encoded.isEmpty() && !m_image2x.isNull()) return m_image2x.size() / 2;
    return Pixels().size();
}

unsigned SkinImage::GetWidth() const { return static_cast<unsigned>(OwnSize().width()); }

unsigned SkinImage::GetHeight() const { return static_cast<unsigned>(OwnSize().height()); }

ImageStatus SkinImage::LastStatus() const {
    Pixels();  // a failed decode is a status too
    return m_lastStatus;
}

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

ImageStatus SkinImage::SaveAsJpeg(const QString& path) {
    const QImage& image = Pixels();
    QByteArray format;
    if (FindEncoderByMime(QStringLiteral("image/jpeg"), format) < 0) {
        m_lastStatus = ImageStatus::NoEncoder;
        return m_lastStatus;
    }
    QImageWriter writer(path, format);
    if (!writer.write(image)) {
        m_lastStatus = ImageStatus::WriteFailed;
        return m_lastStatus;
    }
    return ImageStatus::Ok;
}

int FindEncoderByMime(const QString& mimeType, QByteArray& format) {
    const QList<QByteArray> mimeTypes = QImageWriter::supportedMimeTypes();
    for (qsizetype i = 0; i < mimeTypes.size(); ++i) {
        if (QString::fromLatin1(mimeTypes[i]) != mimeType) continue;
        const QList<QByteArray> formats = QImageWriter::imageFormatsForMimeType(mimeTypes[i]);
        if (formats.isEmpty()) continue;
        format = formats.first();
        return static_cast<int>(i);
    }
    return -1;
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
