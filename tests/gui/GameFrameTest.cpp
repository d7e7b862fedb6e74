#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <tuple>

#include "core/scores/ScoreFile.h"
#include "game/GameFrame.h"
#include "game/GameWnd.h"
#include "game/NameInputDialog.h"
#include "skin/EdgeRect.h"
#include "support/qt/AppTestMain.h"
#include "support/qt/BoardSolver.h"
#include "support/qt/GameFrameHost.h"
#include "support/qt/ModalAnswerer.h"
#include "support/qt/PatternLibraryFolder.h"
#include "support/qt/TestImages.h"

namespace {

constexpr std::uint32_t kSeed = 77;

using Host = test::GameFrameHost;

// Presses New as its button would: a posted click, handled by the event loop.
void PressNew(GameFrame& frame) {
    PostMessage(&frame, UM_BUTTONCLICK, GameFrame::kNewButtonId);
    QCoreApplication::processEvents();
}

// A game in play with four steps, its panel then hidden as when another section is shown.
void PlayFourStepsAndHide(GameFrame& frame) {
    PressNew(frame);
    SendMessage(&frame, UM_TILESMOVED, 4);
    frame.setGeometry(0, 0, 0, 0);
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
    void init() { m_data.StartAfresh(); }

    void AWholeGameIsStoredUnderTheTypedName() {
        Host host;
        GameFrame& frame = *host.frame;
        const test::SolveResult solved = PlayAndSolve(frame, {test::TypeName("Ann")});
        QVERIFY(!frame.ClockRunning());
        const std::vector<ScoreRecord> table = m_data.Scores();
        QCOMPARE(table.size(), size_t(1));
        const ScoreRecord& record = table[0];
        QCOMPARE(record.gridIndex, 0u);
        QCOMPARE(record.pictureName, std::string("First.jpg"));
        QCOMPARE(record.userName, std::string("Ann"));
        QCOMPARE(record.steps, static_cast<std::uint32_t>(std::min(solved.moved, 999)));
        QCOMPARE(record.steps, static_cast<std::uint32_t>(frame.Steps().Value()));
        QCOMPARE(record.seconds, static_cast<std::uint32_t>(frame.Seconds().Value()));
        QCOMPARE(record.createdOn, ScoreTable::Today());
    }

    void AnEmptyNameIsRefusedAndBlanksAreAName() {
        Host host;
        GameFrame& frame = *host.frame;
        test::SeenDialog refusal;
        PlayAndSolve(frame, {test::PressKey(Qt::Key_Return),
                             test::PressOnBox(Qt::Key_Return, &refusal), test::TypeName("  ")});
        QCOMPARE(refusal.text, QString("Please input your name!"));
        const std::vector<ScoreRecord> table = m_data.Scores();
        QCOMPARE(table.size(), size_t(1));
        QCOMPARE(table[0].userName, std::string("  "));
    }

    void CancellingStoresNothingAndKeepsTheCounts() {
        Host host;
        GameFrame& frame = *host.frame;
        PlayAndSolve(frame, {test::PressKey(Qt::Key_Escape)});
        QCOMPARE(m_data.Scores().size(), size_t(0));
        QVERIFY(frame.Steps().Value() > 0);
    }

    void AMissingScoreFileIsCreatedForTheFirstGame() {
        m_data.Remove("Score.dat");
        Host host;
        GameFrame& frame = *host.frame;
        PlayAndSolve(frame, {test::TypeName("Cy")});
        QCOMPARE(m_data.Scores().size(), size_t(1));
    }

    void ADamagedScoreFileIsReportedAndLeftAlone() {
        const std::vector<std::uint8_t> damaged{5, 0, 0, 0, 1};
        m_data.WriteBytes("Score.dat", damaged);
        Host host;
        GameFrame& frame = *host.frame;
        test::SeenDialog report;
        PlayAndSolve(frame, {test::TypeName("Di"), test::PressOnBox(Qt::Key_Return, &report)});
        QVERIFY(report.text.contains("Score.dat"));
        QCOMPARE(m_data.Bytes("Score.dat"), damaged);
    }

    void CountersStopAt999() {
        Host host;
        GameFrame& frame = *host.frame;
        SendMessage(&frame, UM_TILESMOVED, 998);
        SendMessage(&frame, UM_TILESMOVED, 5);
        QCOMPARE(frame.Steps().Value(), 999);
    }

    void TheClockCountsSecondsOfAGame() {
        Host host;
        GameFrame& frame = *host.frame;
        PressNew(frame);
        QVERIFY(frame.ClockRunning());
        QTRY_COMPARE_WITH_TIMEOUT(frame.Seconds().Value(), 1, 2500);
    }

    void AnUnchangedChoiceKeepsTheGameGoing() {
        Host host;
        GameFrame& frame = *host.frame;
        PlayFourStepsAndHide(frame);
        frame.setGeometry(ToQRect(layout::kContentRect));
        QVERIFY(frame.View()->Board().InPlay());
        QVERIFY(frame.ClockRunning());
        QCOMPARE(frame.Steps().Value(), 4);
    }

    void AChangedChoiceAbandonsTheGame() {
        Host host;
        GameFrame& frame = *host.frame;
        PlayFourStepsAndHide(frame);
        App()->m_boardRows = 5;
        App()->m_boardCols = 7;
        frame.setGeometry(ToQRect(layout::kContentRect));
        QVERIFY(!frame.View()->Board().InPlay());
        QCOMPARE(frame.View()->Board().Cols(), 7);
        QVERIFY(!frame.ClockRunning());
        QCOMPARE(frame.Steps().Value(), 0);
    }

    void AGameOnFiveBySevenIsStoredAsSizeFour() {
        App()->m_boardRows = 5;
        App()->m_boardCols = 7;
        App()->m_currentPicture = "Second.jpg";
        Host host;
        GameFrame& frame = *host.frame;
        PlayAndSolve(frame, {test::TypeName("Ed")});
        const ScoreRecord record = m_data.Scores().at(0);
        QCOMPARE(record.gridIndex, 4u);
        QCOMPARE(record.pictureName, std::string("Second.jpg"));
    }

    void ThePanelPaintsItsFillThumbnailAndCounters() {
        Host host;
        GameFrame& frame = *host.frame;
        const QImage shot = frame.grab().toImage();
        QCOMPARE(shot.pixel(415, 10), ToQColor(layout::kPanelFill).rgb());
        // The thumbnail is the 400 x 300 picture halved into (420, 0)-(620, 150), smoothed: each
        // pixel the mean of its 2 x 2 source pixels (green counts rows, so it lies between two).
        for (const auto& [point, red, green] :
             {std::tuple{QPoint(420, 0), 0, 0}, std::tuple{QPoint(619, 149), 199, 42}}) {
            const QColor thumbnail = shot.pixelColor(point);
            QCOMPARE(thumbnail.red(), red);
            QVERIFY2(thumbnail.green() == green || thumbnail.green() == green + 1,
                     qPrintable(thumbnail.name()));
            QCOMPARE(thumbnail.blue(), 10);
        }
        QCOMPARE(shot.pixel(472, 170), qRgb(0, 0, 0));  // glyph background of the step counter
        QCOMPARE(shot.pixel(511, 170), ToQColor(layout::kPanelFill).rgb());
    }

private:
    test::PatternLibraryFolder m_data;
};

CORVALIN_APP_TEST_MAIN(GameFrameTest)
#include "GameFrameTest.moc"
