#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

// Asks the player for an existing file to open in a modal dialog owned by owner, titled
// "Open". filters are Qt name filters ("Description (*.ext)"), offered in that order with the
// first one active. Returns the chosen path, or nothing when the player cancels.
std::optional<QString> ChooseFileToOpen(QWidget* owner, const QStringList& filters);
