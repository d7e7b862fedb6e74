#include <QCoreApplication>
#include <QTest>

#include "app/Corvalin.h"
#include "game/GameFrame.h"
#include "game/GameWnd.h"
#include "info/AboutFrame.h"
#include "library/ResFrame.h"
#include "scores/ScoreWnd.h"
#include "skin/EdgeRect.h"
#include "support/qt/AppTestMain.h"
#include "support/qt/TestImages.h"
#include "support/qt/WindowClick.h"

namespace {

using test::ClickAt;

constexpr QRgb kNormal = 0xffc00000;
constexpr QRgb kMouseOn = 0xff00c000;
constexpr QRgb kMouseDown = 0xff0000c0;

const QRect kGameButton = RectFromEdges(7, 25, 71, 63);
const QRect kScoreButton = RectFromEdges(137, 25, 201, 63);
const QRect kTitle = RectFromEdges(8, 4, 111, 21);

// Section buttons in three solid colours, one per state, and a title; no background.
void WriteSkin(const std::string& path) {
    ImagePackage skin;
    for (const char* section : {"Game", "Res", "Score", "About"}) {
        const std::string name = section;
        skin.AddEntry(name + "Normal.jpg", test::SolidBmp(64, 38, kNormal));
        skin.AddEntry(name + "MouseOn.jpg", test::SolidBmp(64, 38, kMouseOn));
        skin.AddEntry(name + "MouseDown.jpg", test::SolidBmp(64, 38, kMouseDown));
    }
    skin.AddEntry("RegTitle.jpg", test::SolidBmp(103, 17, 0xffffffff));
    skin.Save(path);
}

QRgb ColourAt(CCorvalin& window, const QRect& rect) {
    return window.grab().toImage().pixel(rect.center());
}

struct Section {
    const char* name;
    layout::Edges button;
    QWidget* (*panel)(const CCorvalin&);
};
const Section kSections[] = {
    {"Game", layout::kGameButton.rect, [](const CCorvalin& w) -> QWidget* { return w.Game(); }},
    {"Pictures", layout::kResButton.rect, [](const CCorvalin& w) -> QWidget* { return w.Res(); }},
    {"Scores", layout::kScoreButton.rect, [](const CCorvalin& w) -> QWidget* { return w.Score(); }},
    {"About", layout::kAboutButton.rect, [](const CCorvalin& w) -> QWidget* { return w.About(); }},
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        WriteSkin(m_data.File("Skin.dat"));
        m_data.WritePackage("Pic.dat", test::PatternLibrary());
        m_data.WriteScores({});
    }
    void init() { App()->LoadData(m_data.Path()); }

    void ItOpensOnTheGameWithGameSelected() {
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

    void ASectionClickSwitchesPanelAndLatch() {
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

    void OnlyTheSectionChosenLastHasASize_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        for (int first = 0; first < 4; ++first)
            for (int second = 0; second < 4; ++second)
                QTest::addRow("%s then %s", kSections[first].name, kSections[second].name)
                    << first << second;
    }

    void OnlyTheSectionChosenLastHasASize() {
        QFETCH(int, first);
        QFETCH(int, second);
        CCorvalin window;
        window.show();
        ClickAt(window, ToQRect(kSections[first].button).center());
        ClickAt(window, ToQRect(kSections[second].button).center());
        for (int i = 0; i < 4; ++i) {
            const QRect geometry = kSections[i].panel(window)->geometry();
            if (i == second)
                QCOMPARE(geometry, ToQRect(layout::kContentRect));
            else
                QVERIFY2(geometry.isEmpty(), kSections[i].name);
        }
    }

    void HoverShowsMouseOnAndMovingOntoAPanelClearsIt() {
        CCorvalin window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseMove(&window, QPoint(300, 40));
        QTest::mouseMove(&window, kScoreButton.center());
        QCOMPARE(ColourAt(window, kScoreButton), kMouseOn);
        // Straight down onto the game panel: Qt moves the pointer into the child widget.
        QTest::mouseMove(
            &window, QPoint(kScoreButton.center().x(), ToQRect(layout::kContentRect).top() + 20));
        QCoreApplication::processEvents();
        QCOMPARE(ColourAt(window, kScoreButton), kNormal);
    }

    void ABackgroundThatDoesNotDecodeIsFilledLikeAMissingOne() {
        ImagePackage skin;
        skin.Load(m_data.File("Skin.dat"));
        skin.AddEntry("CorvalinBg.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10});  // cut short
        test::DataFolder data;
        skin.Save(data.File("Skin.dat"));
        App()->LoadData(data.Path());
        QTest::ignoreMessage(QtWarningMsg, "JPEG datastream contains no image");
        CCorvalin window;
        window.show();
        const QImage surface = window.grab().toImage();
        QCOMPARE(surface.pixel(300, 10), ToQColor(layout::kPanelFill).rgb());
        QCOMPARE(surface.pixel(630, 370), ToQColor(layout::kPanelFill).rgb());
    }

    void PlayingAPictureBringsBackTheGame() {
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

    void APressOnTheSurfaceMovesTheWindowAndOnAButtonDoesNot() {
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

    void TheRegionRoundsOnlyTheCorners() {
        CCorvalin window;
        const QRegion region = window.mask();
        for (QPoint corner : {QPoint(0, 0), QPoint(633, 0), QPoint(0, 372), QPoint(633, 372)})
            QVERIFY(!region.contains(corner));
        for (QPoint inside : {QPoint(5, 0), QPoint(0, 5), QPoint(628, 372), QPoint(2, 2),
                              QPoint(317, 0), QPoint(0, 186), QPoint(633, 186)})
            QVERIFY(region.contains(inside));
        QCOMPARE(region.boundingRect(), QRect(0, 0, 634, 373));
    }

    void ItIsCentredAsAWindowOf640By380() {
        QCOMPARE(CCorvalin::PlaceOnScreen(QSize(1024, 768)), QPoint(194, 196));
        QCOMPARE(CCorvalin::PlaceOnScreen(QSize(1920, 1080)), QPoint(642, 352));
    }

    void ItStartsAndPlaysWithoutAnyPackage() {
        const test::DataFolder empty;
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
