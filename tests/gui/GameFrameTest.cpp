#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include "AppTestSupport.h"
#include "BoardSolver.h"
#include "ModalAnswerer.h"
#include "core/scores/ScoreFile.h"
#include "game/GameFrame.h"
#include "game/GameWnd.h"
#include "game/NameInputDialog.h"
#include "skin/EdgeRect.h"

namespace {

constexpr std::uint32_t kSeed = 77;

// Types a name into the name dialog and presses Enter.
test::ModalAnswerer::Step TypeName(const QString& name) {
    return [name](QWidget& modal) {
        auto* dialog = qobject_cast<QDialog*>(&modal);
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->windowTitle(), QString("Input name"));
        auto* edit = modal.findChild<QLineEdit*>();
        // Typed at once, without a click into the edit box. Checked after answering, so a
        // failure cannot leave the dialog open.
        const bool focused = edit->hasFocus();
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(focused);
    };
}

test::ModalAnswerer::Step PressKey(Qt::Key key, QString* seenText = nullptr) {
    return [key, seenText](QWidget& modal) {
        if (auto* box = qobject_cast<QMessageBox*>(&modal); box && seenText)
            *seenText = box->text();
        QTest::keyClick(&modal, key);
    };
}

// The panel inside a shown window, as the main window holds it: size changes then reach
// it at once.
struct Host {
    QWidget window;
    GameFrame* frame;
    Host() : frame(new GameFrame(&window, ToQRect(layout::kContentRect))) {
        window.resize(634, 373);
        window.show();
    }
};

// Presses New as its button would: a posted click, handled by the event loop.
void PressNew(GameFrame& frame) {
    PostMessage(&frame, UM_BUTTONCLICK, GameFrame::kNewButtonId);
    QCoreApplication::processEvents();
}

ScoreTable StoredScores(const test::DataFolder& data) {
    ScoreTable table;
    LoadScoreFile(data.File("Score.dat"), table);
    return table;
}

}  // namespace

class GameFrameTest : public QObject {
    Q_OBJECT

    // A new game on a known board, solved by clicks; the name dialog is answered by steps.
    test::SolveResult PlayAndSolve(GameFrame& frame, std::deque<test::ModalAnswerer::Step> steps) {
        PressNew(frame);
        frame.View()->Board().ShuffleWithSeed(kSeed);
        const test::SolveResult solved = test::SolveByClicks(*frame.View(), kSeed);
        test::ModalAnswerer answerer(std::move(steps));
        QCoreApplication::processEvents();  // the posted solve opens the dialog
        [&] { QVERIFY(answerer.Done()); }();
        return solved;
    }

private slots:
    void init() { App()->LoadData(m_data.Path()); }

    void aWholeGameIsStoredUnderTheTypedName() {
        Host host;
        GameFrame& frame = *host.frame;
        const test::SolveResult solved = PlayAndSolve(frame, {TypeName("Ann")});
        QVERIFY(!frame.ClockRunning());
        const ScoreTable table = StoredScores(m_data);
        QCOMPARE(table.GetCount(), size_t(1));
        const ScoreRecord record = table.GetAt(0);
        QCOMPARE(record.gridIndex, 0u);
        QCOMPARE(record.pictureName, std::string("First.jpg"));
        QCOMPARE(record.userName, std::string("Ann"));
        QCOMPARE(record.steps, static_cast<std::uint32_t>(std::min(solved.moved, 999)));
        QCOMPARE(record.steps, static_cast<std::uint32_t>(frame.Steps().Value()));
        QCOMPARE(record.seconds, static_cast<std::uint32_t>(frame.Seconds().Value()));
        QCOMPARE(record.createdOn, ScoreTable::Today());
    }

    void anEmptyNameIsRefusedAndBlanksAreAName() {
        Host host;
        GameFrame& frame = *host.frame;
        QString refusal;
        PlayAndSolve(
            frame, {PressKey(Qt::Key_Return), PressKey(Qt::Key_Return, &refusal), TypeName("  ")});
        QCOMPARE(refusal, QString("Please input your name!"));
        const ScoreTable table = StoredScores(m_data);
        QCOMPARE(table.GetCount(), size_t(1));
        QCOMPARE(table.GetAt(0).userName, std::string("  "));
    }

    void cancellingStoresNothingAndKeepsTheCounts() {
        Host host;
        GameFrame& frame = *host.frame;
        PlayAndSolve(frame, {PressKey(Qt::Key_Escape)});
        QCOMPARE(StoredScores(m_data).GetCount(), size_t(0));
        QVERIFY(frame.Steps().Value() > 0);
    }

    void aMissingScoreFileIsCreatedForTheFirstGame() {
        QFile::remove(QString::fromStdString(m_data.File("Score.dat")));
        Host host;
        GameFrame& frame = *host.frame;
        PlayAndSolve(frame, {TypeName("Cy")});
        QCOMPARE(StoredScores(m_data).GetCount(), size_t(1));
    }

    void aDamagedScoreFileIsReportedAndLeftAlone() {
        const std::uint8_t damaged[] = {5, 0, 0, 0, 1};
        WriteFileAtomically(m_data.File("Score.dat"), damaged);
        Host host;
        GameFrame& frame = *host.frame;
        QString report;
        PlayAndSolve(frame, {TypeName("Di"), PressKey(Qt::Key_Return, &report)});
        QVERIFY(report.contains("Score.dat"));
        const auto bytes = ReadWholeFile(m_data.File("Score.dat"));
        QCOMPARE(bytes->size(), sizeof damaged);
    }

    void countersStopAt999() {
        Host host;
        GameFrame& frame = *host.frame;
        SendMessage(&frame, UM_TILESMOVED, 998);
        SendMessage(&frame, UM_TILESMOVED, 5);
        QCOMPARE(frame.Steps().Value(), 999);
    }

    void theClockCountsSecondsOfAGame() {
        Host host;
        GameFrame& frame = *host.frame;
        PressNew(frame);
        QVERIFY(frame.ClockRunning());
        QTRY_COMPARE_WITH_TIMEOUT(frame.Seconds().Value(), 1, 2500);
    }

    void anUnchangedChoiceKeepsTheGameGoing() {
        Host host;
        GameFrame& frame = *host.frame;
        PressNew(frame);
        SendMessage(&frame, UM_TILESMOVED, 4);
        frame.setGeometry(0, 0, 0, 0);
        frame.setGeometry(ToQRect(layout::kContentRect));
        QVERIFY(frame.View()->Board().InPlay());
        QVERIFY(frame.ClockRunning());
        QCOMPARE(frame.Steps().Value(), 4);
    }

    void aChangedChoiceAbandonsTheGame() {
        Host host;
        GameFrame& frame = *host.frame;
        PressNew(frame);
        SendMessage(&frame, UM_TILESMOVED, 4);
        frame.setGeometry(0, 0, 0, 0);
        App()->m_boardRows = 5;
        App()->m_boardCols = 7;
        frame.setGeometry(ToQRect(layout::kContentRect));
        QVERIFY(!frame.View()->Board().InPlay());
        QCOMPARE(frame.View()->Board().Cols(), 7);
        QVERIFY(!frame.ClockRunning());
        QCOMPARE(frame.Steps().Value(), 0);
    }

    void aGameOnFiveBySevenIsStoredAsSizeFour() {
        App()->m_boardRows = 5;
        App()->m_boardCols = 7;
        App()->m_currentPicture = "Second.jpg";
        Host host;
        GameFrame& frame = *host.frame;
        PlayAndSolve(frame, {TypeName("Ed")});
        const ScoreRecord record = StoredScores(m_data).GetAt(0);
        QCOMPARE(record.gridIndex, 4u);
        QCOMPARE(record.pictureName, std::string("Second.jpg"));
    }

    void thePanelPaintsItsFillThumbnailAndCounters() {
        Host host;
        GameFrame& frame = *host.frame;
        const QImage shot = frame.grab().toImage();
        QCOMPARE(shot.pixel(415, 10), ToQColor(layout::kPanelFill).rgb());
        // The thumbnail is the 400 x 300 picture halved into (420, 0)-(620, 150).
        QCOMPARE(shot.pixel(420, 0), test::PatternPicture(10).pixel(0, 0));
        QCOMPARE(shot.pixel(619, 149), test::PatternPicture(10).pixel(398, 298));
        QCOMPARE(shot.pixel(472, 170), qRgb(0, 0, 0));  // glyph background of the step counter
        QCOMPARE(shot.pixel(511, 170), ToQColor(layout::kPanelFill).rgb());
    }

    void cleanup() {
        const std::uint8_t emptyTable[] = {0, 0, 0, 0};
        WriteFileAtomically(m_data.File("Score.dat"), emptyTable);
    }

private:
    test::DataFolder m_data;
};

CORVALIN_APP_TEST_MAIN(GameFrameTest)
#include "GameFrameTest.moc"
