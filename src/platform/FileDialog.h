#pragma once

#include <QStringList>
#include <optional>
#include <string>

class QWidget;

// Asks the player for an existing file to open in a modal dialog owned by owner, titled
// "Open". filters are Qt name filters ("Description (*.ext)"), offered in that order with the
// first one active. Returns the chosen path as the file system's own bytes, or nothing when the
// player cancels. Qt reads a file name that is not UTF-8 with U+FFFD for each stray byte, and
// its dialog lists no such file; so a chosen name that names no file is matched against the
// folder's entries byte for byte, as Qt reads them or read as Latin-1 (as the player types
// them). When not exactly one entry matches, the path comes back as Qt's text encoded, which
// names no file.
std::optional<std::string> ChooseFileToOpen(QWidget* owner, const QStringList& filters);
