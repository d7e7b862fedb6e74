#include "platform/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "core/text/PlayerLanguages.h"
#include "core/text/Translation.h"

QString QTr(const char* english) { return QString::fromUtf8(Tr(english)); }

QString QTrN(const char* singular, const char* plural, int n) {
    return QString::fromUtf8(TrN(singular, plural, static_cast<unsigned long>(n)))
        .replace(QLatin1String("%n"), QString::number(n));
}

void InstallQtTranslations(QCoreApplication& application) {
    // The same languages as the game's own texts, not QLocale's own reading of the
    // environment, so that Qt's buttons never speak another language than the dialog.
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const std::string& language : PlayerLanguages()) {
        auto* translator = new QTranslator(&application);
        if (translator->load(QStringLiteral("qtbase_") + QString::fromStdString(language),
                             folder)) {
            application.installTranslator(translator);
            return;
        }
        delete translator;
    }
}
