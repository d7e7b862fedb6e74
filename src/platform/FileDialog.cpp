#include "platform/FileDialog.h"

#include <QFileDialog>

std::optional<QString> ChooseFileToOpen(QWidget* owner, const QStringList& filters) {
    QFileDialog dialog(owner, QStringLiteral("Open"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name need not exist: the caller answers for a file it cannot read.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.first());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.first();
}
