#include "platform/ModalDialog.h"

#include <QDialog>

int RunModal(QDialog& dialog) {
    const int result = dialog.exec();
    if (QWidget* owner = dialog.parentWidget()) owner->window()->activateWindow();
    return result;
}
