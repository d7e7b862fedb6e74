#include "platform/MessageBox.h"

#include <QMessageBox>
#include <QPushButton>

#include "core/io/FileError.h"
#include "platform/ModalDialog.h"
#include "platform/QtTranslation.h"

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::Exclamation:
            break;
    }
    return QMessageBox::Warning;
}

}  // namespace

MessageAnswer ShowMessageBox(QWidget* parent, const QString& text, MessageButtons buttons,
                             MessageIcon icon, MessageAnswer defaultAnswer) {
    QMessageBox box(ToQtIcon(icon), QString::fromLatin1(kMessageBoxCaption), text,
                    QMessageBox::NoButton, parent);
    if (buttons == MessageButtons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        RunModal(box);
        return MessageAnswer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(defaultAnswer == MessageAnswer::No ? QMessageBox::No : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return RunModal(box) == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

void ReportFileError(QWidget* parent, const FileError& error) {
    QString text =
        QTr("The file \"%1\" could not be used.").arg(QString::fromLocal8Bit(error.Path()));
    if (!error.Cause().empty())
        text += QStringLiteral("\n\n") + QString::fromLocal8Bit(error.Cause());
    ShowMessageBox(parent, text, MessageButtons::Ok, MessageIcon::Stop);
}
