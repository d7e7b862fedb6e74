#pragma once

#include <QString>

class QCoreApplication;

// The translation of an English text (the core's Tr) as a QString.
QString QTr(const char* english);

// The translation of a text with a count (the core's TrN) as a QString; %n is n.
QString QTrN(const char* singular, const char* plural, int n);

// Has Qt's own dialogs (their standard buttons, the file dialog) speak the player's first
// language that Qt has a translation for. Call once the application object exists.
void InstallQtTranslations(QCoreApplication& application);
