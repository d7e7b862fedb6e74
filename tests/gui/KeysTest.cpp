#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include "app/Corvalin.h"
#include "core/scores/ScoreFile.h"
#include "game/GameFrame.h"
#include "game/GameWnd.h"
#include "info/AboutFrame.h"
#include "library/BoardSizeComboBox.h"
#include "library/PictureListBox.h"
#include "library/ResFrame.h"
#include "scores/ScoreWnd.h"
#include "skin/EdgeRect.h"
#include "support/qt/AppTestMain.h"
#include "support/qt/BoardSolver.h"
#include "support/qt/ModalAnswerer.h"
#include "support/qt/PatternLibraryFolder.h"
#include "support/qt/TestImages.h"

namespace {

constexpr std::uint32_t kSeed = 77;
const QRect kContent = ToQRect(layout::kContentRect);

// Counts the button clicks the main window and its panels receive.
class ClickCounter : public QObject {
public:
    int clicks = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == MessageEvent::EventType() &&
            static_cast<MessageEvent*>(event)->Message() == UM_BUTTONCLICK)
            ++clicks;
        return false;
    }
};

// The main window, shown and active so that its shortcuts work.
struct Window {
    CCorvalin window;
    Window() {
        window.show();
        window.activateWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(&window)); }();
    }
    GameWnd& View() const { return *window.Game()->View(); }
    PuzzleBoard& Board() const { return View().Board(); }
    // The key goes where the player's keyboard would send it: to the focused control.
    // No window manager hands the keyboard back after a dialog here: the game must take it.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QVERIFY2(QApplication::activeWindow() == &window, "the game's window is not active");
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QCoreApplication::processEvents();  // the posted clicks
    }
    // The name the focused control is known by.
    QString Focused() const {
        QWidget* focus = QApplication::focusWidget();
        if (focus == nullptr) return "(none)";
        if (!focus->accessibleName().isEmpty()) return focus->accessibleName();
        if (auto* score = window.Score(); focus == score->SortCombo()) return "sort";
        if (focus == window.Score()->SizeCombo() || focus == window.Res()->SizeCombo())
            return "size";
        if (focus == window.Score()->PictureList() || focus == window.Res()->PictureList())
            return "pictures";
        if (focus == window.Score()->ScoreList()) return "scores";
        return focus->metaObject()->className();
    }
    bool Shows(const QWidget* panel) const { return panel->geometry() == kContent; }
};

// A new game on a known board, started with Ctrl+N.
void StartSeededGame(Window& w) {
    w.Key(Qt::Key_N, Qt::ControlModifier);
    w.Board().ShuffleWithSeed(kSeed);
}

// Moves the empty cell to (row, col) by clicks on the board itself.
void PutEmptyAt(PuzzleBoard& board, int row, int col) {
    board.ClickCell(board.EmptyRow(), col);
    board.ClickCell(row, col);
}

}  // namespace

class KeysTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_data.StartAfresh(); }

    void theBoardHasTheFocusAtStart() {
        Window w;
        QCOMPARE(QApplication::focusWidget(), &w.View());
    }

    void arrowsBeforeNewGameMoveNothing() {
        Window w;
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down}) w.Key(key);
        QVERIFY(!w.Board().InPlay());
        QVERIFY(w.Board().IsSolved() || w.Board().CellValue(2, 3) == 23);
        QCOMPARE(w.window.Game()->Steps().Value(), 0);
        QVERIFY(!w.window.Game()->ClockRunning());
    }

    void arrowsSlideTheTileBesideTheEmptyCell_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("toRow");  // where the empty cell goes; -1: nothing moves
        QTest::addColumn<int>("toCol");
        QTest::newRow("middle left") << 1 << 1 << int(Qt::Key_Left) << 1 << 2;
        QTest::newRow("middle right") << 1 << 1 << int(Qt::Key_Right) << 1 << 0;
        QTest::newRow("middle up") << 1 << 1 << int(Qt::Key_Up) << 2 << 1;
        QTest::newRow("middle down") << 1 << 1 << int(Qt::Key_Down) << 0 << 1;
        QTest::newRow("right border left") << 1 << 3 << int(Qt::Key_Left) << -1 << -1;
        QTest::newRow("left border right") << 1 << 0 << int(Qt::Key_Right) << -1 << -1;
        QTest::newRow("bottom border up") << 2 << 1 << int(Qt::Key_Up) << -1 << -1;
        QTest::newRow("top border down") << 0 << 2 << int(Qt::Key_Down) << -1 << -1;
        QTest::newRow("top left corner left") << 0 << 0 << int(Qt::Key_Left) << 0 << 1;
        QTest::newRow("bottom right corner down") << 2 << 3 << int(Qt::Key_Down) << 1 << 3;
    }

    void arrowsSlideTheTileBesideTheEmptyCell() {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(int, key);
        QFETCH(int, toRow);
        QFETCH(int, toCol);
        Window w;
        StartSeededGame(w);
        PutEmptyAt(w.Board(), row, col);
        const int steps = w.window.Game()->Steps().Value();
        const bool moves = toRow >= 0;
        const int tile = moves ? w.Board().CellValue(toRow, toCol) : 0;

        w.Key(static_cast<Qt::Key>(key));

        if (moves) {
            QCOMPARE(w.Board().EmptyRow(), toRow);
            QCOMPARE(w.Board().EmptyCol(), toCol);
            QCOMPARE(w.Board().CellValue(row, col), tile);
        } else {
            QCOMPARE(w.Board().EmptyRow(), row);
            QCOMPARE(w.Board().EmptyCol(), col);
        }
        // Counted as a click on that tile: one tile moved, reported to the game panel.
        QCOMPARE(w.window.Game()->Steps().Value(), steps + (moves ? 1 : 0));
    }

    void arrowsReachTheBoardFromAFocusedPictureButton() {
        Window w;
        StartSeededGame(w);
        w.Key(Qt::Key_Tab);
        QCOMPARE(w.Focused(), QString("New Game"));
        const int emptyCol = w.Board().EmptyCol();
        w.Key(Qt::Key_Right);
        QCOMPARE(w.Board().EmptyCol(), emptyCol - 1);
        QCOMPARE(w.Focused(), QString("New Game"));
    }

    void ctrlNFromAnotherSectionShowsTheGameAndStartsIt() {
        Window w;
        w.Key(Qt::Key_2, Qt::ControlModifier);
        QVERIFY(w.Shows(w.window.Res()));
        w.Key(Qt::Key_N, Qt::ControlModifier);
        QVERIFY(w.Shows(w.window.Game()));
        QVERIFY(w.window.SectionButtons()[0]->Selected());
        QVERIFY(!w.window.SectionButtons()[1]->Selected());
        QVERIFY(w.Board().InPlay());
        QVERIFY(w.window.Game()->ClockRunning());
        QCOMPARE(QApplication::focusWidget(), &w.View());
    }

    void f2StartsANewGameToo() {
        Window w;
        w.Key(Qt::Key_F2);
        QVERIFY(w.Board().InPlay());
    }

    void ctrlDigitsShowTheSections() {
        Window w;
        const struct {
            Qt::Key key;
            QWidget* panel;
            int button;
        } sections[] = {{Qt::Key_2, w.window.Res(), 1},
                        {Qt::Key_3, w.window.Score(), 2},
                        {Qt::Key_4, w.window.About(), 3},
                        {Qt::Key_1, w.window.Game(), 0}};
        for (const auto& section : sections) {
            w.Key(section.key, Qt::ControlModifier);
            QVERIFY(w.Shows(section.panel));
            for (int i = 0; i < 4; ++i)
                QCOMPARE(w.window.SectionButtons()[i]->Selected(), i == section.button);
        }
        QCOMPARE(QApplication::focusWidget(), &w.View());
    }

    void ctrlQClosesTheWindow() {
        Window w;
        w.Key(Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!w.window.isVisible());
    }

    void tabWalksTheShownSectionInReadingOrder_data() {
        QTest::addColumn<int>("section");
        QTest::addColumn<QStringList>("order");
        const QStringList top{"Minimize", "Close", "Game", "Pictures", "Scores", "About"};
        QTest::newRow("game") << 1 << top + QStringList{"Board", "New Game"};
        QTest::newRow("pictures") << 2 << top + QStringList{"size", "pictures", "Add", "Delete"};
        QTest::newRow("scores") << 3 << top + QStringList{"sort", "scores", "size", "pictures"};
        QTest::newRow("about") << 4
                               << top + QStringList{"support@corvalin.example",
                                                    "https://corvalin.example"};
    }

    void tabWalksTheShownSectionInReadingOrder() {
        QFETCH(int, section);
        QFETCH(QStringList, order);
        Window w;
        w.Key(static_cast<Qt::Key>(Qt::Key_0 + section), Qt::ControlModifier);
        QStringList forward;
        for (int i = 0; i < order.size(); ++i) {
            w.Key(Qt::Key_Tab);
            forward << w.Focused();
        }
        // Once round, wherever it started: line it up with the first control.
        const int start = static_cast<int>(forward.indexOf(order.first()));
        QVERIFY2(start >= 0, qPrintable(forward.join(", ")));
        QCOMPARE(forward.mid(start) + forward.mid(0, start), order);
        QStringList backward;
        for (int i = 0; i < order.size(); ++i) {
            backward.prepend(w.Focused());
            w.Key(Qt::Key_Tab, Qt::ShiftModifier);
        }
        QCOMPARE(backward, forward);
    }

    void spaceAndEnterPressTheFocusedButtonOnce() {
        Window w;
        ClickCounter counter;
        QApplication::instance()->installEventFilter(&counter);
        w.Key(Qt::Key_Tab);  // New Game
        w.Key(Qt::Key_Space);
        QCOMPARE(counter.clicks, 1);
        QVERIFY(w.Board().InPlay());
        QCOMPARE(QApplication::focusWidget(), &w.View());  // after New Game
        for (int i = 0; i < 6; ++i) w.Key(Qt::Key_Tab);    // New Game, Minimize, ..., Scores
        QCOMPARE(w.Focused(), QString("Scores"));
        w.Key(Qt::Key_Return);
        QCOMPARE(counter.clicks, 2);
        QVERIFY(w.Shows(w.window.Score()));
        QVERIFY(w.window.SectionButtons()[2]->Selected());
        QVERIFY(!w.window.SectionButtons()[0]->Selected());
        // The chosen section's button again: no click, as with the mouse.
        w.Key(Qt::Key_Space);
        QCOMPARE(counter.clicks, 2);
        QApplication::instance()->removeEventFilter(&counter);
    }

    void theFocusRingShowsOnLightAndDarkPictures_data() {
        QTest::addColumn<QRgb>("picture");
        QTest::newRow("white") << qRgb(255, 255, 255);
        QTest::newRow("black") << qRgb(0, 0, 0);
        QTest::newRow("grey") << qRgb(128, 128, 128);
    }

    void theFocusRingShowsOnLightAndDarkPictures() {
        QFETCH(QRgb, picture);
        ImagePackage skin;
        const QRect rect = ToQRect(layout::kNewButton.rect);
        skin.AddEntry(layout::kNewButton.normal,
                      test::SolidBmp(rect.width(), rect.height(), picture));
        skin.Save(m_data.File("Skin.dat"));
        App()->LoadData(m_data.Path());
        Window w;
        const QPoint at = rect.topLeft();
        QCOMPARE(w.window.Game()->grab().toImage().pixel(at), picture);
        w.Key(Qt::Key_Tab);
        QCOMPARE(w.Focused(), QString("New Game"));
        const QImage shot = w.window.Game()->grab().toImage();
        QFile::remove(QString::fromStdString(m_data.File("Skin.dat")));
        // Along the button's rounded outline, one pixel inside its rectangle (two at the bottom,
        // where its shadow lies): black, two of white, black; the picture inside and outside.
        const QPoint middle = rect.center();
        const QList<QRgb> ring{
            picture,       qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(255, 255, 255),
            qRgb(0, 0, 0), picture};
        for (int i = 0; i < ring.size(); ++i) {
            QCOMPARE(shot.pixel(middle.x(), rect.top() + i), ring[i]);
            QCOMPARE(shot.pixel(rect.left() + i, middle.y()), ring[i]);
            QCOMPARE(shot.pixel(rect.right() - i, middle.y()), ring[i]);
            QCOMPARE(shot.pixel(middle.x(), rect.bottom() - 1 - i), ring[i]);
        }
        QCOMPARE(shot.pixel(middle.x(), rect.bottom()), picture);
        // The corners are rounded: the ring leaves the rectangle's corner pixels to the picture.
        for (const QPoint& corner :
             {rect.topLeft(), rect.topLeft() + QPoint(1, 1), rect.topLeft() + QPoint(2, 2),
              rect.bottomRight() - QPoint(2, 3)})
            QCOMPARE(shot.pixel(corner), picture);
        QCOMPARE(shot.pixel(rect.topLeft() + QPoint(7, 1)), qRgb(0, 0, 0));
        QCOMPARE(shot.pixel(rect.center()), picture);
        QCOMPARE(shot.pixel(rect.bottomRight() + QPoint(1, 1)), ToQColor(layout::kPanelFill).rgb());
        w.Key(Qt::Key_Tab);
        QCOMPARE(w.window.Game()->grab().toImage().pixel(middle.x(), rect.top() + 1), picture);
    }

    // Solved, named and then on to another section, all from the keys: the name dialog hands the
    // keyboard back to the board whichever way it closes, also when a button had it before.
    void aWholeGameIsPlayedSolvedAndStoredFromTheKeys_data() {
        QTest::addColumn<QString>("name");  // empty: the dialog is left with Esc
        QTest::addColumn<bool>("fromButton");
        QTest::newRow("OK") << "Kim" << false;
        QTest::newRow("Cancel") << QString() << false;
        QTest::newRow("OK, solved from a focused button") << "Kim" << true;
    }

    void aWholeGameIsPlayedSolvedAndStoredFromTheKeys() {
        QFETCH(QString, name);
        QFETCH(bool, fromButton);
        Window w;
        StartSeededGame(w);
        if (fromButton) {
            w.Key(Qt::Key_Tab);
            QCOMPARE(w.Focused(), QString("New Game"));
        }
        test::ModalAnswerer answerer({[name](QWidget&) {
            QWidget* edit = QApplication::focusWidget();
            QTest::keyClicks(edit, name);
            QTest::keyClick(edit, name.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
        }});
        // The walk back may pass the whole picture before its end, as a game of clicks does.
        std::size_t pressed = 0;
        for (Qt::Key arrow : test::ArrowsToSolve(kSeed, 3, 4)) {
            if (!w.Board().InPlay()) break;
            w.Key(arrow);
            ++pressed;
        }
        QVERIFY(answerer.Done());
        QVERIFY(w.Board().IsSolved());
        QTRY_COMPARE(QApplication::focusWidget(), &w.View());

        ScoreTable table;
        LoadScoreFile(m_data.File("Score.dat"), table);
        QCOMPARE(table.GetCount(), std::size_t(name.isEmpty() ? 0 : 1));
        if (!name.isEmpty()) {
            const ScoreRecord record = table.GetAt(0);
            QCOMPARE(record.userName, name.toStdString());
            QCOMPARE(record.pictureName, std::string("First.jpg"));
            QCOMPARE(record.steps, static_cast<std::uint32_t>(std::min<std::size_t>(pressed, 999)));
        }
        w.Key(Qt::Key_2, Qt::ControlModifier);
        QVERIFY(w.Shows(w.window.Res()));
        w.Key(Qt::Key_3, Qt::ControlModifier);
        QCOMPARE(w.window.Score()->ScoreList()->topLevelItemCount(), name.isEmpty() ? 0 : 1);
    }

private:
    test::PatternLibraryFolder m_data;
};

CORVALIN_APP_TEST_MAIN(KeysTest)
#include "KeysTest.moc"
