// The window in a real language, German, from the build's catalogues and Qt's own translations,
// on a machine where the German locale need not be installed.

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "app/Corvalin.h"
#include "core/text/Translation.h"
#include "library/ResFrame.h"
#include "scores/ScoreWnd.h"
#include "skin/EdgeRect.h"
#include "support/qt/AppTestMain.h"
#include "support/qt/ModalAnswerer.h"
#include "support/qt/PatternLibraryFolder.h"
#include "support/qt/WindowClick.h"

using test::ClickAt;

class GermanWindowTest : public QObject {
    Q_OBJECT

private slots:
    // The test runs under LANG=de_DE.UTF-8 (see CMakeLists.txt), which the application object
    // read for Qt's translations when the test began.
    void initTestCase() { StartTranslations(CORVALIN_BUILD_LOCALE); }

    void init() { m_data.StartAfresh(); }

    void theScoreTableSpeaksGerman() {
        CCorvalin window;
        window.show();
        ClickAt(window, ToQRect(layout::kScoreButton.rect).center());
        QTreeWidgetItem* headings = window.Score()->ScoreList()->headerItem();
        const QStringList expected{"Rang", "Name", "Züge", "Zeit (s)", "Datum"};
        for (int column = 0; column < expected.size(); ++column)
            QCOMPARE(headings->text(column), expected[column]);
    }

    void aMessageBoxSpeaksGermanButtonsIncluded() {
        CCorvalin window;
        window.show();
        ClickAt(window, ToQRect(layout::kResButton.rect).center());
        test::SeenDialog seen;
        QString yes, no;
        test::ModalAnswerer answerer({test::OnBox(
            [&yes, &no](QMessageBox& box) {
                yes = box.button(QMessageBox::Yes)->text();
                no = box.button(QMessageBox::No)->text();
                box.button(QMessageBox::No)->click();
            },
            &seen)});
        window.Res()->RemovePicture();
        QTRY_VERIFY(answerer.Done());
        QCOMPARE(seen.text, QString("Möchten Sie das aktuelle Bild wirklich löschen?"));
        // Qt's own buttons, from qt6-translations-l10n.
        QCOMPARE(yes, QString("&Ja"));
        QCOMPARE(no, QString("&Nein"));
    }

private:
    test::PatternLibraryFolder m_data;
};

CORVALIN_APP_TEST_MAIN(GermanWindowTest)
#include "GermanWindowTest.moc"
