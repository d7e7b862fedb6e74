#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "core/io/FileError.h"
#include "platform/MessageBox.h"

namespace {

// What a test saw of the box it answered.
struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Answers the next modal message box from a timer: records it, then runs answer on it.
class BoxAnswerer {
public:
    explicit BoxAnswerer(std::function<void(QMessageBox&)> answer) : m_answer(std::move(answer)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start(10);
    }

    bool answered = false;
    SeenBox seen;

private:
    void Poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        m_timer.stop();
        seen.caption = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        if (QPushButton* button = box->defaultButton())
            seen.defaultButton = box->standardButton(button);
        answered = true;
        m_answer(*box);
    }

    std::function<void(QMessageBox&)> m_answer;
    QTimer m_timer;
};

std::function<void(QMessageBox&)> Click(QMessageBox::StandardButton which) {
    return [which](QMessageBox& box) { box.button(which)->click(); };
}

std::function<void(QMessageBox&)> Press(Qt::Key key) {
    return [key](QMessageBox& box) { QTest::keyClick(&box, key); };
}

}  // namespace

class MessageBoxTest : public QObject {
    Q_OBJECT

private slots:
    void PlainBoxIsCaptionedWithTheTitleAndWarnsByDefault() {
        BoxAnswerer answerer(Click(QMessageBox::Ok));
        const MessageAnswer answer =
            ShowMessageBox(nullptr, QStringLiteral("Please input your name!"));
        QVERIFY(answerer.answered);
        QCOMPARE(answer, MessageAnswer::Ok);
        QCOMPARE(answerer.seen.caption, QStringLiteral("Corvalin"));
        QCOMPARE(answerer.seen.text, QStringLiteral("Please input your name!"));
        QCOMPARE(answerer.seen.icon, QMessageBox::Warning);
        QCOMPARE(answerer.seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
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
        BoxAnswerer answerer(Press(Qt::Key_Return));
        QCOMPARE(ShowMessageBox(nullptr, "text", MessageButtons::Ok, icon), MessageAnswer::Ok);
        QCOMPARE(answerer.seen.icon, shown);
    }

    void YesNoBoxReturnsTheButtonClicked() {
        BoxAnswerer yes(Click(QMessageBox::Yes));
        QCOMPARE(ShowMessageBox(nullptr, "Sure?", MessageButtons::YesNo), MessageAnswer::Yes);
        QCOMPARE(yes.seen.buttons, QMessageBox::Yes | QMessageBox::No);
        BoxAnswerer no(Click(QMessageBox::No));
        QCOMPARE(ShowMessageBox(nullptr, "Sure?", MessageButtons::YesNo), MessageAnswer::No);
    }

    void EnterPressesTheChosenDefaultButton() {
        BoxAnswerer yes(Press(Qt::Key_Return));
        QCOMPARE(ShowMessageBox(nullptr, "Sure?", MessageButtons::YesNo), MessageAnswer::Yes);
        QCOMPARE(yes.seen.defaultButton, QMessageBox::Yes);
        BoxAnswerer no(Press(Qt::Key_Return));
        QCOMPARE(ShowMessageBox(nullptr, "Sure?", MessageButtons::YesNo, MessageIcon::Exclamation,
                                MessageAnswer::No),
                 MessageAnswer::No);
        QCOMPARE(no.seen.defaultButton, QMessageBox::No);
    }

    void EscapeAnswersNo() {
        BoxAnswerer answerer(Press(Qt::Key_Escape));
        QCOMPARE(ShowMessageBox(nullptr, "Sure?", MessageButtons::YesNo), MessageAnswer::No);
    }

    void FileErrorIsReportedWithStopIconNamingFileAndCause() {
        BoxAnswerer answerer(Click(QMessageBox::Ok));
        ReportFileError(nullptr, FileError("/games/corvalin/Score.dat", "Permission denied"));
        QVERIFY(answerer.answered);
        QCOMPARE(answerer.seen.caption, QStringLiteral("Corvalin"));
        QCOMPARE(answerer.seen.icon, QMessageBox::Critical);
        QCOMPARE(answerer.seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(answerer.seen.text.contains("/games/corvalin/Score.dat"));
        QVERIFY(answerer.seen.text.contains("Permission denied"));
    }
};

QTEST_MAIN(MessageBoxTest)
#include "MessageBoxTest.moc"
