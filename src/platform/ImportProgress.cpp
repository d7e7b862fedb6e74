#include "platform/ImportProgress.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include "platform/MessageBox.h"
#include "platform/QtTranslation.h"

namespace {
constexpr int kShowAfterMs = 500;
}

ImportProgress::ImportProgress(QWidget* owner, int total)
    : m_dialog(std::make_unique<QProgressDialog>(owner)), m_total(total) {
    m_dialog->setWindowTitle(QString::fromLatin1(kMessageBoxCaption));
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(kShowAfterMs);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setRange(0, total);
    m_dialog->setValue(0);
    m_since.start();
}

ImportProgress::~ImportProgress() = default;

bool ImportProgress::Begin(int n, const QString& text) {
    if (m_dialog->wasCanceled()) return false;
    // TRANSLATORS: the import's progress: the file's name, then its number and how many
    m_dialog->setLabelText(QTr("%1\n%2 of %3").arg(text).arg(n).arg(m_total));
    m_dialog->setValue(n - 1);  // lets the dialog appear once it is due, and Cancel be pressed
    return !m_dialog->wasCanceled();
}

bool ImportProgress::KeepGoing() {
    if (!m_dialog->isVisible() && m_since.elapsed() >= kShowAfterMs) m_dialog->show();
    // Window-modal once shown: the window's own input waits until the import is over.
    QCoreApplication::processEvents(m_dialog->isVisible() ? QEventLoop::AllEvents
                                                          : QEventLoop::ExcludeUserInputEvents);
    return !m_dialog->wasCanceled();
}
