#include <QCoreApplication>
#include <QTest>

#include "AppTestSupport.h"
#include "app/Corvalin.h"
#include "game/GameFrame.h"
#include "game/GameWnd.h"
#include "info/AboutFrame.h"
#include "library/ResFrame.h"
#include "scores/ScoreWnd.h"
#include "skin/EdgeRect.h"

namespace {

constexpr QRgb kNormal = 0xffc00000;
constexpr QRgb kMouseOn = 0xff00c000;
constexpr QRgb kMouseDown = 0xff0000c0;

const QRect kGameButton = RectFromEdges(7, 25, 71, 63);
const QRect kScoreButton = RectFromEdges(137, 25, 201, 63);
const QRect kTitle = RectFromEdges(8, 4, 111, 21);

QImage Solid(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Section buttons in three solid colours, one per state, and a title; no background.
void WriteSkin(const std::string& path) {
    ImagePackage skin;
    for (const char* section : {"Game", "Res", "Score", "About"}) {
        const std::string name = section;
        skin.AddEntry(name + "Normal.jpg", test::Bmp(Solid(64, 38, kNormal)));
        skin.AddEntry(name + "MouseOn.jpg", test::Bmp(Solid(64, 38, kMouseOn)));
        skin.AddEntry(name + "MouseDown.jpg", test::Bmp(Solid(64, 38, kMouseDown)));
    }
    skin.AddEntry("RegTitle.jpg", test::Bmp(Solid(103, 17, 0xffffffff)));
    skin.Save(path);
}

QRgb ColourAt(CCorvalin& window, const QRect& rect) {
    return window.grab().toImage().pixel(rect.center());
}

void ClickAt(CCorvalin& window, const QPoint& point) {
    QTest::mouseMove(&window, point);
    QTest::mouseClick(&window, Qt::LeftButton, {}, point);
    QCoreApplication::processEvents();  // the posted click
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { WriteSkin(m_data.File("Skin.dat")); }
    void init() { App()->LoadData(m_data.Path()); }

    void itOpensOnTheGameWithGameSelected() {
        CCorvalin window;
        window.show();
        QCOMPARE(window.Game()->geometry(), ToQRect(layout::kContentRect));
        QCOMPARE(window.Res()->size(), QSize(0, 0));
        QCOMPARE(window.Score()->size(), QSize(0, 0));
        QCOMPARE(window.About()->size(), QSize(0, 0));
        QCOMPARE(ColourAt(window, kGameButton), kMouseDown);
        QCOMPARE(ColourAt(window, kScoreButton), kNormal);
        QCOMPARE(window.windowTitle(), QString("Corvalin"));
    }

    void aSectionClickSwitchesPanelAndLatch() {
        CCorvalin window;
        window.show();
        ClickAt(window, kScoreButton.center());
        QCOMPARE(window.Score()->geometry(), ToQRect(layout::kContentRect));
        QCOMPARE(window.Game()->size(), QSize(0, 0));
        QCOMPARE(ColourAt(window, kScoreButton), kMouseDown);
        QCOMPARE(ColourAt(window, kGameButton), kNormal);
        // The selected section again: nothing changes.
        ClickAt(window, kScoreButton.center());
        QCOMPARE(window.Score()->geometry(), ToQRect(layout::kContentRect));
        QCOMPARE(ColourAt(window, kScoreButton), kMouseDown);
    }

    void hoverShowsMouseOnAndLeavingClearsIt() {
        CCorvalin window;
        window.show();
        QTest::mouseMove(&window, QPoint(300, 40));
        QTest::mouseMove(&window, kScoreButton.center());
        QCOMPARE(ColourAt(window, kScoreButton), kMouseOn);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&window, &leave);
        QCOMPARE(ColourAt(window, kScoreButton), kNormal);
    }

    void playingAPictureBringsBackTheGame() {
        CCorvalin window;
        window.show();
        ClickAt(window, RectFromEdges(72, 25, 136, 63).center());
        QCOMPARE(window.Res()->geometry(), ToQRect(layout::kContentRect));
        App()->m_currentPicture = "Second.jpg";
        App()->m_boardRows = 6;
        App()->m_boardCols = 8;
        PostMessage(&window, UM_PLAYPICTURE);
        QCoreApplication::processEvents();
        QCOMPARE(window.Game()->geometry(), ToQRect(layout::kContentRect));
        QCOMPARE(window.Res()->size(), QSize(0, 0));
        QCOMPARE(ColourAt(window, kGameButton), kMouseDown);
        QCOMPARE(window.Game()->View()->Board().Cols(), 8);
        QVERIFY(!window.Game()->ClockRunning());
    }

    void aPressOnTheSurfaceMovesTheWindowAndOnAButtonDoesNot() {
        CCorvalin window;
        window.show();
        const QPoint start = window.pos();
        QTest::mouseMove(&window, QPoint(300, 40));
        QTest::mouseMove(&window, kGameButton.center());
        QTest::mousePress(&window, Qt::LeftButton, {}, kGameButton.center());
        QTest::mouseMove(&window, kGameButton.center() + QPoint(30, 5));
        QTest::mouseRelease(&window, Qt::LeftButton, {}, kGameButton.center() + QPoint(30, 5));
        QCOMPARE(window.pos(), start);
        QTest::mouseMove(&window, kTitle.center());
        QTest::mousePress(&window, Qt::LeftButton, {}, kTitle.center());
        QTest::mouseMove(&window, kTitle.center() + QPoint(30, 5));
        QTest::mouseRelease(&window, Qt::LeftButton, {}, kTitle.center() + QPoint(30, 5));
        QCOMPARE(window.pos(), start + QPoint(30, 5));
    }

    void theRegionRoundsOnlyTheCorners() {
        CCorvalin window;
        const QRegion region = window.mask();
        for (QPoint corner : {QPoint(0, 0), QPoint(633, 0), QPoint(0, 372), QPoint(633, 372)})
            QVERIFY(!region.contains(corner));
        for (QPoint inside : {QPoint(5, 0), QPoint(0, 5), QPoint(628, 372), QPoint(2, 2),
                              QPoint(317, 0), QPoint(0, 186), QPoint(633, 186)})
            QVERIFY(region.contains(inside));
        QCOMPARE(region.boundingRect(), QRect(0, 0, 634, 373));
    }

    void itIsCentredAsAWindowOf640By380() {
        QCOMPARE(CCorvalin::PlaceOnScreen(QSize(1024, 768)), QPoint(194, 196));
        QCOMPARE(CCorvalin::PlaceOnScreen(QSize(1920, 1080)), QPoint(642, 352));
    }

    void itStartsAndPlaysWithoutAnyPackage() {
        test::DataFolder empty(std::vector<std::string>{});
        QFile::remove(QString::fromStdString(empty.File("Score.dat")));
        App()->LoadData(empty.Path());
        QCOMPARE(App()->m_currentPicture, std::string());
        CCorvalin window;
        window.show();
        PostMessage(window.Game(), UM_BUTTONCLICK, GameFrame::kNewButtonId);
        QCoreApplication::processEvents();
        QVERIFY(window.Game()->View()->Board().InPlay());
        ClickAt(window, RectFromEdges(202, 25, 266, 63).center());
        QCOMPARE(window.About()->geometry(), ToQRect(layout::kContentRect));
    }

private:
    test::DataFolder m_data;
};

CORVALIN_APP_TEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
