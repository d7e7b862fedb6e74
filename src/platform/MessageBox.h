#pragma once

#include <QString>

class FileError;
class QWidget;

// The program's title, the caption of every message box.
inline constexpr char kMessageBoxCaption[] = "Corvalin";

enum class MessageIcon { Exclamation, Information, Question, Stop };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// Shows a modal message box captioned with the program's title and returns the button chosen.
// For Yes/No, defaultAnswer names the button that Enter presses (Yes unless told); closing the
// box with Esc answers No. For OK the answer is always Ok.
MessageAnswer ShowMessageBox(QWidget* parent, const QString& text,
                             MessageButtons buttons = MessageButtons::Ok,
                             MessageIcon icon = MessageIcon::Exclamation,
                             MessageAnswer defaultAnswer = MessageAnswer::Yes);

// The generic report of a file that could not be opened, read or written: a stop box naming
// the file and the cause. Handlers that do file work catch FileError at their edge and call this.
void ReportFileError(QWidget* parent, const FileError& error);
