#include <QKeyEvent>
#include <QPainter>
#include <QTest>

#include "core/package/ImagePackage.h"
#include "core/solver/Solver.h"
#include "game/GameFrame.h"
#include "game/GameWnd.h"
#include "skin/EdgeRect.h"
#include "support/qt/AppTestMain.h"
#include "support/qt/BoardSolver.h"
#include "support/qt/GameFrameHost.h"
#include "support/qt/ModalAnswerer.h"
#include "support/qt/PatternLibraryFolder.h"
#include "support/qt/TestImages.h"

namespace {

constexpr std::uint32_t kSeed = 77;

QImage Frame(GameWnd& view, qreal ratio) {
    QImage frame(QSize(400, 300) * ratio, QImage::Format_RGB32);
    frame.setDevicePixelRatio(ratio);
    QPainter painter(&frame);
    view.ComposeFrame(painter);
    return frame;
}

// The first click of the solver's own solution of the view's board, as a cell index.
int FirstClickCell(const PuzzleBoard& board) {
    std::vector<int> ids;
    for (int row = 0; row < board.Rows(); ++row)
        for (int col = 0; col < board.Cols(); ++col) ids.push_back(board.CellValue(row, col));
    const Solution solution =
        Solve(ReadTileIds(board.Rows(), board.Cols(), ids).board, std::chrono::milliseconds(0));
    for (int row = 0; row < board.Rows(); ++row)
        for (int col = 0; col < board.Cols(); ++col)
            if (board.CellValue(row, col) == solution.clicks.front())
                return row * board.Cols() + col;
    return -1;
}

using Host = test::GameFrameHost;

}  // namespace

class HintTest : public QObject {
    Q_OBJECT

    ImagePackage m_pictures;
    test::PatternLibraryFolder m_data;

private slots:
    void initTestCase() {
        m_pictures.AddEntry("P.jpg", test::Encode(test::PatternPicture(10), "BMP"));
    }
    void init() { m_data.StartAfresh(); }

    // The ring marks the solution's next tile: a black line, a white band two pixels wide
    // and a black line, in whole device pixels, and nothing else of the frame changes.
    void HintRingsTheNextTileCrisply_data() {
        QTest::addColumn<qreal>("ratio");
        QTest::addRow("scale 1") << 1.0;
        QTest::addRow("scale 2") << 2.0;
    }
    void HintRingsTheNextTileCrisply() {
        QFETCH(qreal, ratio);
        GameWnd plain(nullptr, m_pictures);
        GameWnd hinted(nullptr, m_pictures);
        for (GameWnd* view : {&plain, &hinted}) {
            view->LoadPicture("P.jpg", {.rows = 3, .cols = 4});
            view->Board().ShuffleWithSeed(kSeed);
        }
        hinted.ShowHint();
        const int cell = hinted.RingedCell();
        QCOMPARE(cell, FirstClickCell(hinted.Board()));
        const QImage without = Frame(plain, ratio);
        const QImage with = Frame(hinted, ratio);
        QRect changed;
        for (int y = 0; y < with.height(); ++y)
            for (int x = 0; x < with.width(); ++x)
                if (with.pixel(x, y) != without.pixel(x, y)) changed |= QRect(x, y, 1, 1);
        // The changed pixels frame the ringed cell.
        const QPoint middle = changed.center() / ratio;
        QCOMPARE(middle.y() * 3 / 300 * 4 + middle.x() * 4 / 400, cell);
        QVERIFY(changed.width() > 80 * ratio && changed.height() > 80 * ratio);
        const int x = changed.center().x();
        const int line = static_cast<int>(ratio);
        for (int i = 0; i < 4 * line; ++i) {
            const QRgb expected = i < line || i >= 3 * line ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
            QCOMPARE(with.pixel(x, changed.top() + i), expected);
            QCOMPARE(with.pixel(changed.left() + i, changed.center().y()), expected);
        }
        // Inside the ring the tile is untouched.
        const QRect inside = changed.adjusted(4 * line, 4 * line, -4 * line, -4 * line);
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int xx = inside.left(); xx <= inside.right(); ++xx)
                QCOMPARE(with.pixel(xx, y), without.pixel(xx, y));
    }

    // A right-click on the board rings a tile and says it: which tile, from the gap, and where
    // it goes; the ring pulses and is gone after about 1.5 s.
    void RightClickHintsAndTellsAssistiveTechnology() {
        GameWnd view(nullptr, m_pictures);
        view.LoadPicture("P.jpg", {.rows = 3, .cols = 4});
        view.Board().ShuffleWithSeed(kSeed);
        view.resize(400, 300);
        QTest::mouseClick(&view, Qt::RightButton, {}, QPoint(10, 10));
        const int cell = view.RingedCell();
        QVERIFY(cell >= 0);
        QVERIFY(view.Helped());
        const int dRow = cell / 4 - view.Board().EmptyRow();
        const int dCol = cell % 4 - view.Board().EmptyCol();
        const QString said = view.accessibleDescription();
        if (dCol == -1) QCOMPARE(said, QString("the tile left of the gap moves right"));
        if (dCol == 1) QCOMPARE(said, QString("the tile right of the gap moves left"));
        if (dRow == -1) QCOMPARE(said, QString("the tile above the gap moves down"));
        if (dRow == 1) QCOMPARE(said, QString("the tile below the gap moves up"));
        if (std::abs(dRow + dCol) > 1)
            QCOMPARE(said,
                     QString("the tile %1 places %2 of the gap moves %3, with the tiles between")
                         .arg(std::abs(dRow + dCol))
                         .arg(dCol < 0   ? "left"
                              : dCol > 0 ? "right"
                              : dRow < 0 ? "above"
                                         : "below")
                         .arg(dCol < 0   ? "right"
                              : dCol > 0 ? "left"
                              : dRow < 0 ? "down"
                                         : "up"));
        // A pause, a second pulse, then gone for good.
        QTRY_COMPARE_WITH_TIMEOUT(view.RingedCell(), -1, 2000);
        QTRY_COMPARE_WITH_TIMEOUT(view.RingedCell(), cell, 2000);
        QTRY_COMPARE_WITH_TIMEOUT(view.RingedCell(), -1, 2000);
        QTest::qWait(600);
        QCOMPARE(view.RingedCell(), -1);
    }

    // Shift+H plays the solution to the end; any key stops it where it is.
    void ShiftHSolvesAndAnyKeyStops() {
        GameWnd view(nullptr, m_pictures);
        view.LoadPicture("P.jpg", {.rows = 3, .cols = 4});
        view.Board().ShuffleWithSeed(kSeed);
        QKeyEvent shiftH(QEvent::KeyPress, Qt::Key_H, Qt::ShiftModifier, "H");
        QVERIFY(view.PlayKey(shiftH));
        QTRY_VERIFY(view.Board().EmptyRow() != 2 || view.Board().EmptyCol() != 3);
        QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
        QVERIFY(view.PlayKey(other));
        QVERIFY(!view.PlaysSolution());
        const int emptyRow = view.Board().EmptyRow();
        const int emptyCol = view.Board().EmptyCol();
        QTest::qWait(400);
        QCOMPARE(view.Board().EmptyRow(), emptyRow);
        QCOMPARE(view.Board().EmptyCol(), emptyCol);
        QVERIFY(view.PlayKey(shiftH));
        QTRY_VERIFY_WITH_TIMEOUT(!view.Board().InPlay(), 15000);
        QVERIFY(!view.PlaysSolution());
    }

    // A game won with a hint says so instead of asking a name, and Score.dat keeps its bytes.
    void AHintedGameIsNotStored() {
        const std::vector<std::uint8_t> before = m_data.Bytes("Score.dat");
        Host host;
        GameFrame& frame = *host.frame;
        PostMessage(&frame, UM_BUTTONCLICK, GameFrame::kNewButtonId);
        QCoreApplication::processEvents();
        frame.View()->Board().ShuffleWithSeed(kSeed);
        frame.View()->ShowHint();
        test::SolveByClicks(*frame.View(), kSeed);
        test::SeenDialog message;
        test::ModalAnswerer answerer({test::PressOnBox(Qt::Key_Return, &message)});
        QCoreApplication::processEvents();
        QVERIFY(answerer.Done());
        QCOMPARE(message.text,
                 QString("A game played with help is not entered in the score table."));
        QCOMPARE(m_data.Bytes("Score.dat"), before);
        // The next game, unhelped, is offered to the table again.
        PostMessage(&frame, UM_BUTTONCLICK, GameFrame::kNewButtonId);
        QCoreApplication::processEvents();
        QVERIFY(!frame.View()->Helped());
    }
};

CORVALIN_APP_TEST_MAIN(HintTest)
#include "HintTest.moc"
