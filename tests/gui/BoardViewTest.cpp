#include <QCoreApplication>
#include <QPainter>
#include <QTest>
#include <utility>
#include <vector>

#include "AppTestSupport.h"
#include "BoardSolver.h"
#include "game/GameWnd.h"
#include "platform/Messages.h"

namespace {

constexpr QRgb kLine = 0xff6cd4ff;  // RGB(108, 212, 255)

// Stands where the game panel stands: records what the board view tells it, in order.
class Listener : public MessageReceiver<QWidget> {
public:
    std::vector<std::pair<unsigned, quintptr>> heard;

protected:
    qintptr OnMessage(unsigned message, quintptr first, qintptr) override {
        heard.emplace_back(message, first);
        return 0;
    }
};

QImage Frame(GameWnd& view) {
    QImage frame(400, 300, QImage::Format_RGB32);
    frame.fill(Qt::black);
    QPainter painter(&frame);
    view.ComposeFrame(painter);
    return frame;
}

// The pattern picture's pixel at (x, y): red x / 2, green y.
QRgb PicturePixel(int x, int y) { return test::PatternPicture(10).pixel(x, y); }

}  // namespace

class BoardViewTest : public QObject {
    Q_OBJECT

    ImagePackage m_pictures;
    Listener m_panel;

private slots:
    void initTestCase() { m_pictures.AddEntry("P.jpg", test::Bmp(test::PatternPicture(10))); }

    void sixColumnsCutSixtySixPixelTilesIntoAlternatingWidths() {
        GameWnd view(&m_panel, m_pictures);
        view.LoadPicture("P.jpg", {.rows = 4, .cols = 6});
        const QImage frame = Frame(view);
        // Column 5 starts at 333 and is 67 wide; its source also starts at 333.
        QCOMPARE(frame.pixel(333, 10), PicturePixel(333, 10));
        QCOMPARE(frame.pixel(332, 10), kLine);  // last column of tile 4 (x1 = 333)
        QCOMPARE(frame.pixel(399, 10), kLine);
        // Column 0 is copied one for one up to its separator at x = 65.
        for (int x = 0; x < 65; ++x) QCOMPARE(frame.pixel(x, 20), PicturePixel(x, 20));
        QCOMPARE(frame.pixel(65, 20), kLine);
        // Rows of 75: the separator is each tile's last row; the top edge shows the picture.
        QCOMPARE(frame.pixel(10, 74), kLine);
        QCOMPARE(frame.pixel(10, 75), PicturePixel(10, 75));
        QCOMPARE(frame.pixel(10, 0), PicturePixel(10, 0));
        QCOMPARE(frame.pixel(0, 10), PicturePixel(0, 10));
    }

    void sevenColumnsGiveTheLastColumnFiftyEightPixels() {
        GameWnd view(&m_panel, m_pictures);
        view.LoadPicture("P.jpg", {.rows = 5, .cols = 7});
        const QImage frame = Frame(view);
        QCOMPARE(frame.pixel(341, 5), kLine);  // tile 5 ends at x1 = 342
        QCOMPARE(frame.pixel(342, 5),
                 PicturePixel(342, 5));  // tile 6: source starts at 6 * 400 / 7
        QCOMPARE(frame.pixel(398, 5) != kLine, true);
        QCOMPARE(frame.pixel(399, 5), kLine);
        QCOMPARE(frame.pixel(5, 59), kLine);  // rows of 60
    }

    void theEmptyCellIsPlainAndTilesComeFromTheirHome() {
        GameWnd view(&m_panel, m_pictures);
        view.LoadPicture("P.jpg", {.rows = 3, .cols = 4});
        view.Board().ShuffleWithSeed(11);
        const QImage frame = Frame(view);
        for (int y = 200; y < 300; ++y)
            for (int x = 300; x < 400; ++x) QCOMPARE(frame.pixel(x, y), kLine);
        const int tile = view.Board().CellValue(0, 0);
        QCOMPARE(frame.pixel(3, 4), PicturePixel(tile % 10 * 100 + 3, tile / 10 * 100 + 4));
    }

    void withoutAPictureTheBoardIsAPlainArea() {
        GameWnd view(&m_panel, m_pictures);
        view.LoadPicture("Missing.jpg", {.rows = 3, .cols = 4});
        QVERIFY(!view.HasPicture());
        const QImage frame = Frame(view);
        QCOMPARE(frame.pixel(0, 0), kLine);
        QCOMPARE(frame.pixel(250, 150), kLine);
        view.StartGame();  // played blind, but played
        QVERIFY(view.Board().InPlay());
    }

    void clicksOffTheEmptyCellsLinesTellNothing() {
        GameWnd view(&m_panel, m_pictures);
        view.LoadPicture("P.jpg", {.rows = 3, .cols = 4});
        m_panel.heard.clear();
        QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(50, 50));  // out of play
        view.Board().ShuffleWithSeed(3);
        const auto before = view.Board();
        QTest::mouseClick(&view, Qt::LeftButton, {},
                          QPoint(50, 50));  // row 0, col 0: off row 2 and col 3
        QCoreApplication::processEvents();
        QVERIFY(m_panel.heard.empty());
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c)
                QCOMPARE(view.Board().CellValue(r, c), before.CellValue(r, c));
    }

    void aClickOnTheEmptyCellTellsZeroTiles() {
        GameWnd view(&m_panel, m_pictures);
        view.LoadPicture("P.jpg", {.rows = 3, .cols = 4});
        view.Board().ShuffleWithSeed(3);
        m_panel.heard.clear();
        QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(399, 299));
        QCOMPARE(m_panel.heard.size(), size_t(1));
        QCOMPARE(m_panel.heard[0].first, UM_TILESMOVED);
        QCOMPARE(m_panel.heard[0].second, quintptr(0));
    }

    void aRunOfTilesSlidesInOneClick() {
        GameWnd view(&m_panel, m_pictures);
        view.LoadPicture("P.jpg", {.rows = 6, .cols = 8});
        view.Board().ShuffleWithSeed(5);
        m_panel.heard.clear();
        QTest::mouseClick(&view, Qt::LeftButton, {},
                          QPoint(10, 290));  // far end of the empty cell's row
        QCOMPARE(m_panel.heard.size(), size_t(1));
        QCOMPARE(m_panel.heard[0].second, quintptr(7));
        QCOMPARE(view.Board().EmptyCol(), 0);
    }

    void aReleaseOffTheBoardIsNoClick() {
        GameWnd view(&m_panel, m_pictures);
        view.LoadPicture("P.jpg", {.rows = 3, .cols = 4});
        view.Board().ShuffleWithSeed(3);
        m_panel.heard.clear();
        QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(-30, 250));
        QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(350, 320));
        QVERIFY(m_panel.heard.empty());
    }

    void theSolvingClickSendsTilesThenPostsTheSolve() {
        GameWnd view(&m_panel, m_pictures);
        view.LoadPicture("P.jpg", {.rows = 3, .cols = 4});
        const QImage whole = Frame(view);
        view.Board().ShuffleWithSeed(2026);
        m_panel.heard.clear();
        bool lastSeen = false;
        test::SolveByClicks(view, 2026, [&](bool last) {
            QCoreApplication::processEvents();
            if (last) {
                lastSeen = true;
                m_panel.heard.clear();
            }
        });
        QVERIFY(lastSeen);
        QVERIFY(!view.Board().InPlay());
        // The sent count is there at once; the solve waits for the event loop.
        QCOMPARE(m_panel.heard.size(), size_t(1));
        QCOMPARE(m_panel.heard[0].first, UM_TILESMOVED);
        QCoreApplication::processEvents();
        QCOMPARE(m_panel.heard.size(), size_t(2));
        QCOMPARE(m_panel.heard[1].first, UM_PUZZLESOLVED);
        QCOMPARE(Frame(view), whole);
    }
};

CORVALIN_APP_TEST_MAIN(BoardViewTest)
#include "BoardViewTest.moc"
