// Every text a player reads passes through the catalogue: under a pseudo-language used only
// here, whose every translation is bracketed and made 40 % longer, no text shows without its
// brackets, and none runs out of its widget.

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <cstdlib>

#include "app/Corvalin.h"
#include "core/library/DisplayName.h"
#include "core/text/Translation.h"
#include "game/NameInputDialog.h"
#include "library/ResFrame.h"
#include "skin/EdgeRect.h"
#include "support/qt/AppTestMain.h"
#include "support/qt/ModalAnswerer.h"
#include "support/qt/PatternLibraryFolder.h"
#include "support/qt/PseudoCatalogue.h"
#include "support/qt/TestImages.h"
#include "support/qt/WindowClick.h"

namespace {

using test::ClickAt;
using test::IsPseudo;
using test::Pseudo;

// What is the player's own or the program's name, and no text of ours.
bool IsData(const QString& text) {
    static const QStringList kNames{"Corvalin", "support@corvalin.example",
                                    "https://corvalin.example"};
    if (text.isEmpty() || kNames.contains(text)) return true;
    bool number = false;
    text.toInt(&number);
    if (number) return true;
    std::vector<std::string> pictures;
    App()->m_picturePackage.GetNames(pictures);
    for (const std::string& picture : pictures)
        if (text == QString::fromStdString(DisplayName(picture))) return true;
    return false;
}

void Collect(QAccessibleInterface* node, QList<QAccessibleInterface*>& all) {
    if (node == nullptr) return;
    all << node;
    for (int i = 0; i < node->childCount(); ++i) Collect(node->child(i), all);
}

// Every text under top that a player sees or a screen reader speaks and that is not ours in
// the pseudo-language, and every one cut off; empty when all is well.
QStringList Faults(QWidget& top) {
    QStringList faults;
    const auto check = [&faults](const QString& where, const QString& text) {
        if (!IsPseudo(text) && !IsData(text)) faults << where + ": not translated: " + text;
    };
    QList<QAccessibleInterface*> all;
    Collect(QAccessible::queryAccessibleInterface(&top), all);
    for (QAccessibleInterface* node : all) {
        if (node->state().invisible) continue;
        check("accessible name", node->text(QAccessible::Name));
        check("accessible description", node->text(QAccessible::Description));
    }
    for (QWidget* widget : top.findChildren<QWidget*>()) {
        if (!widget->isVisible()) continue;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            check("label", label->text());
            const bool fits = label->wordWrap()
                                  ? label->heightForWidth(label->width()) <= label->height()
                                  : label->sizeHint().width() <= label->width();
            if (!fits) faults << "label cut off: " + label->text();
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            check("button", button->text());
            if (button->sizeHint().width() > button->width())
                faults << "button cut off: " + button->text();
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            for (int i = 0; i < combo->count(); ++i) check("choice", combo->itemText(i));
            if (combo->sizeHint().width() > combo->width())
                faults << "choices cut off: " + combo->itemText(0);
        } else if (auto* header = qobject_cast<QHeaderView*>(widget)) {
            for (int i = 0; i < header->count(); ++i) {
                const QString text = header->model()->headerData(i, Qt::Horizontal).toString();
                check("heading", text);
                if (header->sectionSize(i) < header->sectionSizeHint(i))
                    faults << "heading cut off: " + text;
            }
        }
    }
    if (top.isWindow()) check("title", top.windowTitle());
    return faults;
}

}  // namespace

class PseudoLanguageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(m_catalogues.isValid());
        QVERIFY(test::WritePseudoCatalogue(CORVALIN_TEXTS_TEMPLATE, m_catalogues.path()));
        ::setenv("LANG", "C.UTF-8", 1);
        ::setenv("LANGUAGE", "qaa", 1);
        ::unsetenv("LC_ALL");
        ::unsetenv("LC_MESSAGES");
        StartTranslations(m_catalogues.path().toStdString());
        QCOMPARE(QString::fromUtf8(Tr("Invalid file!")), Pseudo("Invalid file!"));
    }

    void init() { m_data.StartAfresh(); }

    void everySectionSpeaksThePseudoLanguage() {
        CCorvalin window;
        window.show();
        for (const layout::ButtonLayout* section : {&layout::kGameButton, &layout::kResButton,
                                                    &layout::kScoreButton, &layout::kAboutButton}) {
            ClickAt(window, ToQRect(section->rect).center());
            const QStringList faults = Faults(window);
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
        }
    }

    void theNameDialogAndItsRefusalSpeakThePseudoLanguage() {
        CCorvalin window;
        NameInputDialog dialog(&window);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QStringList faults = Faults(dialog);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
        test::SeenDialog seen;
        test::ModalAnswerer answerer({test::PressOnBox(Qt::Key_Return, &seen)});
        QMetaObject::invokeMethod(&dialog, "accept", Qt::QueuedConnection);
        QTRY_VERIFY(answerer.Done());
        QTRY_VERIFY(!seen.text.isEmpty());
        QCOMPARE(seen.text, Pseudo("Please input your name!"));
    }

    void theLibrarysDialogsSpeakThePseudoLanguage() {
        CCorvalin window;
        window.show();
        ClickAt(window, ToQRect(layout::kResButton.rect).center());
        test::SeenDialog confirm, open, refusal, list;
        const QString notAPicture = m_catalogues.filePath("notes.txt");
        QFile file(notAPicture);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a picture") > 0);
        file.close();
        test::ModalAnswerer answerer(
            {test::PressOnBox(Qt::Key_Escape, &confirm), test::ChooseFile(notAPicture, &open),
             test::PressOnBox(Qt::Key_Return, &refusal), test::PressOnBox(Qt::Key_Return, &list)});
        window.Res()->RemovePicture();
        window.Res()->AddPicture();
        const std::string path = notAPicture.toStdString();
        window.Res()->ImportFiles({path, path});
        QTRY_VERIFY(answerer.Done());
        QCOMPARE(confirm.text, Pseudo("Are you sure to delete the current picture?"));
        QVERIFY2(IsPseudo(open.title), qPrintable(open.title));
        QVERIFY(open.filters.contains(Pseudo("All Files (%1)").arg("*.*")));
        QCOMPARE(refusal.text, Pseudo("Invalid file!"));
        // The list of files not added: its heading, and each file's line with its reason.
        const QStringList lines = list.text.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        for (const QString& line : lines) QVERIFY2(IsPseudo(line), qPrintable(line));
        QVERIFY(lines[1].contains("notes.txt") && lines[1].contains(Pseudo("Invalid file!")));
    }

    // The warning for a 2x skin left out, and the problem it names, both in the language.
    void theDroppedSkinWarningSpeaksThePseudoLanguage() {
        test::DataFolder folder;
        const auto about = test::Encode(test::Solid(136, 76, qRgb(40, 90, 160)), "JPG");
        folder.WritePackage("Skin.dat", {{"About.jpg", about}});
        folder.WritePackage("Skin@2x.dat", {{"About.jpg", about}});
        QTest::failOnWarning(QRegularExpression(".*"));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("^\\[Skin@2x\\.dat .*: About\\.jpg: "
                                                "\\[136x76 .* 272x152\\x{e5}+\\]\\x{e5}+\\]$"));
        App()->LoadData(folder.Path());
        QCOMPARE(App()->m_skinPackage2x.Count(), std::size_t{0});
    }

private:
    test::PatternLibraryFolder m_data;
    QTemporaryDir m_catalogues;
};

CORVALIN_APP_TEST_MAIN(PseudoLanguageTest)
#include "PseudoLanguageTest.moc"
