#include "decoder/ReaderComplaints.h"

#include <QByteArray>

namespace {

constexpr char kReaderCategories[] = "qt.gui.imageio";

bool FromReader(const char* category) {
    return category != nullptr && QByteArray(category).startsWith(kReaderCategories);
}

}  // namespace

ReaderComplaints::ReaderComplaints() {
    s_active = this;
    m_previousHandler = qInstallMessageHandler(&Handle);
    s_previousFilter = QLoggingCategory::installFilter(&Filter);
}

ReaderComplaints::~ReaderComplaints() {
    QLoggingCategory::installFilter(s_previousFilter);
    qInstallMessageHandler(m_previousHandler);
    s_active = nullptr;
}

void ReaderComplaints::Filter(QLoggingCategory* category) {
    if (s_previousFilter != nullptr) s_previousFilter(category);
    if (FromReader(category->categoryName())) category->setEnabled(QtWarningMsg, true);
}

void ReaderComplaints::Handle(QtMsgType type, const QMessageLogContext& context,
                              const QString& text) {
    if (FromReader(context.category) && type != QtDebugMsg && type != QtInfoMsg) {
        ++s_active->m_count;
        return;
    }
    if (s_active->m_previousHandler != nullptr) s_active->m_previousHandler(type, context, text);
}
