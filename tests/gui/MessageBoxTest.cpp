#include <QApplication>
#include <QMessageBox>
#include <QTest>

#include "core/io/FileError.h"
#include "platform/MessageBox.h"
#include "support/qt/ModalAnswerer.h"
#include "support/qt/TestMain.h"

using test::ClickOnBox;
using test::PressOnBox;

class MessageBoxTest : public QObject {
    Q_OBJECT

private slots:
    // No window manager hands the keyboard back here when a box closes.
    void TheOwnersWindowHasTheKeyboardAgainWhenTheBoxCloses() {
        QWidget window;
        auto* owner = new QWidget(&window);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        test::ModalAnswerer answerer({PressOnBox(Qt::Key_Return)});
        ShowMessageBox(owner, "text");
        QTRY_COMPARE(QApplication::activeWindow(), &window);
    }

    void PlainBoxIsCaptionedWithTheTitleAndWarnsByDefault() {
        test::SeenDialog seen;
        test::ModalAnswerer answerer({ClickOnBox(QMessageBox::Ok, &seen)});
        const MessageAnswer answer =
            ShowMessageBox(nullptr, QStringLiteral("Please input your name!"));
        QCOMPARE(answerer.Answered(), 1);
        QCOMPARE(answer, MessageAnswer::Ok);
        QCOMPARE(seen.title, QStringLiteral("Corvalin"));
        QCOMPARE(seen.text, QStringLiteral("Please input your name!"));
        QCOMPARE(seen.icon, QMessageBox::Warning);
        QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void IconsAreTheOnesAskedFor_data() {
        QTest::addColumn<MessageIcon>("icon");
        QTest::addColumn<QMessageBox::Icon>("shown");
        QTest::newRow("exclamation") << MessageIcon::Exclamation << QMessageBox::Warning;
        QTest::newRow("information") << MessageIcon::Information << QMessageBox::Information;
        QTest::newRow("question") << MessageIcon::Question << QMessageBox::Question;
        QTest::newRow("stop") << MessageIcon::Stop << QMessageBox::Critical;
    }

    void IconsAreTheOnesAskedFor() {
        QFETCH(MessageIcon, icon);
        QFETCH(QMessageBox::Icon, shown);
        test::SeenDialog seen;
        test::ModalAnswerer answerer({PressOnBox(Qt::Key_Return, &seen)});
        QCOMPARE(ShowMessageBox(nullptr, "text", MessageButtons::Ok, icon), MessageAnswer::Ok);
        QCOMPARE(seen.icon, shown);
    }

    void YesNoBoxReturnsTheButtonClicked() {
        test::SeenDialog yes;
        test::ModalAnswerer answerer(
            {ClickOnBox(QMessageBox::Yes, &yes), ClickOnBox(QMessageBox::No)});
        QCOMPARE(ShowMessageBox(nullptr, "Sure?", MessageButtons::YesNo), MessageAnswer::Yes);
        QCOMPARE(yes.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(ShowMessageBox(nullptr, "Sure?", MessageButtons::YesNo), MessageAnswer::No);
    }

    void EnterPressesTheChosenDefaultButton() {
        test::SeenDialog yes;
        test::SeenDialog no;
        test::ModalAnswerer answerer(
            {PressOnBox(Qt::Key_Return, &yes), PressOnBox(Qt::Key_Return, &no)});
        QCOMPARE(ShowMessageBox(nullptr, "Sure?", MessageButtons::YesNo), MessageAnswer::Yes);
        QCOMPARE(yes.defaultButton, QMessageBox::Yes);
        QCOMPARE(ShowMessageBox(nullptr, "Sure?", MessageButtons::YesNo, MessageIcon::Exclamation,
                                MessageAnswer::No),
                 MessageAnswer::No);
        QCOMPARE(no.defaultButton, QMessageBox::No);
    }

    void EscapeAnswersNo() {
        test::ModalAnswerer answerer({PressOnBox(Qt::Key_Escape)});
        QCOMPARE(ShowMessageBox(nullptr, "Sure?", MessageButtons::YesNo), MessageAnswer::No);
    }

    void FileErrorIsReportedWithStopIconNamingFileAndCause() {
        test::SeenDialog seen;
        test::ModalAnswerer answerer({ClickOnBox(QMessageBox::Ok, &seen)});
        ReportFileError(nullptr, FileError("/games/corvalin/Score.dat", "Permission denied"));
        QCOMPARE(answerer.Answered(), 1);
        QCOMPARE(seen.title, QStringLiteral("Corvalin"));
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(seen.text.contains("/games/corvalin/Score.dat"));
        QVERIFY(seen.text.contains("Permission denied"));
    }
};

CORVALIN_QT_TEST_MAIN(MessageBoxTest)
#include "MessageBoxTest.moc"
