// Every text a player reads passes through the catalogue: under a pseudo-language used only
// here, whose every translation is bracketed and made 40 % longer, no text shows without its
// brackets, and none runs out of its widget.

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
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
#include "support/qt/WindowClick.h"

namespace {

using test::ClickAt;

// A text as the pseudo-language has it: bracketed, 40 % longer, placeholders and a closing
// newline kept.
QString Pseudo(const QString& english) {
    const bool newline = english.endsWith('\n');
    const QString body = newline ? english.chopped(1) : english;
    const QString padded = body + QString((body.size() * 4 + 9) / 10, QChar(0x00e5));
    return '[' + padded + ']' + (newline ? "\n" : "");
}

QString Quoted(const QString& text) {
    QString escaped = text;
    escaped.replace('\\', "\\\\").replace('"', "\\\"").replace('\n', "\\n").replace('\t', "\\t");
    return '"' + escaped + '"';
}

QString Unquoted(const QString& line) {
    QString text = line.mid(line.indexOf('"') + 1).chopped(1);
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const QChar c = text[++i];
        out += c == 'n' ? QChar('\n') : c == 't' ? QChar('\t') : c;
    }
    return out;
}

// The pseudo catalogue of every text of the template, compiled into folder.
bool WritePseudoCatalogue(const QString& templatePath, const QString& folder) {
    QFile pot(templatePath);
    if (!pot.open(QIODevice::ReadOnly)) return false;
    struct Entry {
        QString context, id;
    };
    QList<Entry> entries{Entry{}};
    QString* field = nullptr;
    for (const QString& line : QString::fromUtf8(pot.readAll()).split('\n')) {
        if (line.startsWith("msgctxt ") ||
            (line.startsWith("msgid ") && !entries.last().id.isEmpty()))
            entries.append(Entry{});
        if (line.startsWith("msgctxt "))
            field = &entries.last().context;
        else if (line.startsWith("msgid "))
            field = &entries.last().id;
        else if (!line.startsWith('"'))
            field = nullptr;
        if (field != nullptr) *field += Unquoted(line);
    }
    QString po = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n";
    for (const Entry& entry : entries) {
        if (entry.id.isEmpty()) continue;  // the header
        if (!entry.context.isEmpty()) po += "\nmsgctxt " + Quoted(entry.context);
        po += "\nmsgid " + Quoted(entry.id) + "\nmsgstr " + Quoted(Pseudo(entry.id)) + '\n';
    }
    const QString source = folder + "/qaa.po";
    QFile out(source);
    if (!out.open(QIODevice::WriteOnly) || out.write(po.toUtf8()) < 0) return false;
    out.close();
    QDir().mkpath(folder + "/qaa/LC_MESSAGES");
    return QProcess::execute(CORVALIN_MSGFMT,
                             {"--check", "-o", folder + "/qaa/LC_MESSAGES/corvalin.mo", source}) ==
           0;
}

bool IsPseudo(const QString& text) {
    const QString shown = text.endsWith('\n') ? text.chopped(1) : text;
    return shown.startsWith('[') && shown.endsWith(']') && shown.contains(QChar(0x00e5));
}

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
        QVERIFY(WritePseudoCatalogue(CORVALIN_TEXTS_TEMPLATE, m_catalogues.path()));
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

private:
    test::PatternLibraryFolder m_data;
    QTemporaryDir m_catalogues;
};

CORVALIN_APP_TEST_MAIN(PseudoLanguageTest)
#include "PseudoLanguageTest.moc"
