#include "library/PictureDecoder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QImageReader>
#include <QLoggingCategory>
#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "core/library/ChunkOrientation.h"
#include "core/library/CutShortPicture.h"
#include "core/library/DecodeLimits.h"
#include "library/HeifModule.h"
#include "library/JpegDecoder.h"
#include "library/Orientation.h"

namespace {

constexpr char kReaderCategories[] = "qt.gui.imageio";
constexpr unsigned kQtBytesPerPixel = 4;
// Enough of a file to tell its format.
constexpr std::size_t kHeaderBytes = 64;

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

struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileClose>;

// The file open for reading, with its size, when it is a regular file within the size limit: a
// device or a pipe would be read for ever (opening does not wait for one), and a huge file is
// no photo.
File OpenPictureFile(const std::string& path, std::uint64_t& size) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return nullptr;
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<std::uint64_t>(status.st_size) > kMaxPictureFileBytes) {
        ::close(descriptor);
        return nullptr;
    }
    size = static_cast<std::uint64_t>(status.st_size);
    File file(::fdopen(descriptor, "rb"));
    if (file == nullptr) ::close(descriptor);
    return file;
}

std::optional<std::vector<std::uint8_t>> ReadRest(std::FILE* file, std::uint64_t size) {
    std::vector<std::uint8_t> bytes(size);
    if (std::fseek(file, 0, SEEK_SET) != 0 ||
        std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size())
        return std::nullopt;
    return bytes;
}

QImage DecodeWithQt(std::span<const std::uint8_t> bytes) {
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    // Qt's PNG and WebP readers leave their EXIF chunks alone (Qt 6.4): those are turned here,
    // and only here, whatever a later Qt learns. Other formats keep their reader's own turning.
    const std::optional<int> chunkOrientation = ChunkOrientation(bytes);
    reader.setAutoTransform(!chunkOrientation);
    ReaderComplaints complaints;
    const QSize declared = reader.size();
    if (!declared.isValid() ||
        !DeclaredSizeAcceptable(static_cast<std::uint64_t>(declared.width()),
                                static_cast<std::uint64_t>(declared.height()), kQtBytesPerPixel))
        return {};
    const QImage image = reader.read();
    if (complaints.Any() || image.isNull()) return {};
    return chunkOrientation ? Upright(image, *chunkOrientation) : image;
}

}  // namespace

QImage DecodeStretched(const std::string& path, const QSize& size) {
    std::uint64_t fileSize = 0;
    const File file = OpenPictureFile(path, fileSize);
    if (file == nullptr) return {};
    std::array<std::uint8_t, kHeaderBytes> header{};
    const std::span<const std::uint8_t> start(
        header.data(), std::fread(header.data(), 1, header.size(), file.get()));

    QImage image;
    if (LooksLikeJpeg(start)) {
        // Read as it decodes: a large photo's bytes are never held whole.
        if (std::fseek(file.get(), 0, SEEK_SET) != 0) return {};
        image = DecodeJpeg(file.get(), size);
    } else {
        const std::optional<std::vector<std::uint8_t>> bytes = ReadRest(file.get(), fileSize);
        if (!bytes || IsCutShort(*bytes)) return {};
        image = LooksLikeHeif(*bytes) ? DecodeHeifFromModule(*bytes, size) : DecodeWithQt(*bytes);
    }
    if (image.isNull()) return {};
    if (image.size() == size) return image;
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
