#include "library/PictureDecoder.h"

#include <sys/stat.h>

#include <QBuffer>
#include <QImageReader>
#include <QLoggingCategory>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/io/FileError.h"
#include "core/io/FileIO.h"
#include "core/library/DecodeLimits.h"
#include "core/library/TruncatedBitmap.h"
#include "library/HeifDecoder.h"
#include "library/JpegDecoder.h"

namespace {

constexpr char kReaderCategories[] = "qt.gui.imageio";
constexpr unsigned kQtBytesPerPixel = 4;

// While it lives, every warning Qt's image readers log (about data that ends early or is
// corrupt, which they otherwise decode into a complete-looking image) is counted here instead of
// going to the log: for the formats Qt decodes, that is all the reader says about completeness.
// Readers log through the "qt.gui.imageio" categories; their warnings are switched on meanwhile
// whatever the logging rules say. One at a time, on the GUI thread.
class ReaderComplaints {
public:
    ReaderComplaints() {
        s_active = this;
        m_previousHandler = qInstallMessageHandler(&Handle);
        s_previousFilter = QLoggingCategory::installFilter(&Filter);
    }
    ReaderComplaints(const ReaderComplaints&) = delete;
    ReaderComplaints& operator=(const ReaderComplaints&) = delete;
    ~ReaderComplaints() {
        QLoggingCategory::installFilter(s_previousFilter);
        qInstallMessageHandler(m_previousHandler);
        s_active = nullptr;
    }

    bool Any() const { return m_count > 0; }

private:
    static bool FromReader(const char* category) {
        return category != nullptr && QByteArray(category).startsWith(kReaderCategories);
    }

    static void Filter(QLoggingCategory* category) {
        if (s_previousFilter != nullptr) s_previousFilter(category);
        if (FromReader(category->categoryName())) category->setEnabled(QtWarningMsg, true);
    }

    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (FromReader(context.category) && type != QtDebugMsg && type != QtInfoMsg) {
            ++s_active->m_count;
            return;
        }
        if (s_active->m_previousHandler != nullptr)
            s_active->m_previousHandler(type, context, text);
    }

    static inline ReaderComplaints* s_active = nullptr;
    static inline QLoggingCategory::CategoryFilter s_previousFilter = nullptr;
    QtMessageHandler m_previousHandler = nullptr;
    int m_count = 0;
};

// The whole file, when it is a regular file within the size limit: a device or a pipe would be
// read for ever, and a huge file is no photo.
std::optional<std::vector<std::uint8_t>> ReadPictureFile(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<std::uint64_t>(status.st_size) > kMaxPictureFileBytes)
        return std::nullopt;
    try {
        return ReadWholeFile(path);
    } catch (const FileError&) {
        return std::nullopt;
    }
}

QImage DecodeWithQt(std::span<const std::uint8_t> bytes) {
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    ReaderComplaints complaints;
    const QSize declared = reader.size();
    if (!declared.isValid() ||
        !DeclaredSizeAcceptable(static_cast<std::uint64_t>(declared.width()),
                                static_cast<std::uint64_t>(declared.height()), kQtBytesPerPixel))
        return {};
    QImage image = reader.read();
    if (complaints.Any()) return {};
    return image;
}

}  // namespace

QImage DecodeStretched(const std::string& path, const QSize& size) {
    const std::optional<std::vector<std::uint8_t>> file = ReadPictureFile(path);
    if (!file) return {};
    const std::span<const std::uint8_t> bytes(*file);
    if (IsTruncatedBitmap(bytes, bytes.size())) return {};

    QImage image;
    if (LooksLikeJpeg(bytes))
        image = DecodeJpeg(bytes, size);
    else if (LooksLikeHeif(bytes))
        image = DecodeHeif(bytes, size);
    else
        image = DecodeWithQt(bytes);
    if (image.isNull()) return {};
    if (image.size() == size) return image;
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
