#include "library/PictureDecoder.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLoggingCategory>
#include <cstdint>
#include <span>

#include "core/library/TruncatedBitmap.h"

namespace {

// Photos may be large; the limit guards against crafted sizes, not against real pictures.
// Formats that cannot scale while decoding hold the full size once.
constexpr int kAllocationLimitMb = 512;
constexpr qint64 kBitmapHeaderBytes = 54;
constexpr char kReaderCategories[] = "qt.gui.imageio";

// While it lives, every complaint Qt's image readers log (about data that ends early or is
// corrupt, which they otherwise decode into a complete-looking image) is caught here instead of
// going to the log. Readers log through the "qt.gui.imageio" categories; their warnings are
// switched on meanwhile whatever the logging rules say. One at a time, on the GUI thread.
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

bool IsCutShortBitmap(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray header = file.read(kBitmapHeaderBytes);
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(header.constData()),
                          static_cast<std::size_t>(header.size()));
    return IsTruncatedBitmap(bytes, static_cast<std::uint64_t>(file.size()));
}

}  // namespace

QImage DecodeStretched(const QString& path, const QSize& size) {
    // A device or a pipe would be read for ever; only plain files are pictures.
    if (!QFileInfo(path).isFile()) return {};
    if (IsCutShortBitmap(path)) return {};

    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(kAllocationLimitMb);
    reader.setScaledSize(size);
    QImage image;
    {
        ReaderComplaints complaints;
        image = reader.read();
        if (complaints.Any()) return {};
    }
    if (image.isNull() || image.size() != size) return {};
    return image;
}
