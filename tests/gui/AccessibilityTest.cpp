#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include "app/Corvalin.h"
#include "game/GameFrame.h"
#include "game/GameWnd.h"
#include "library/ResFrame.h"
#include "skin/EdgeRect.h"
#include "support/qt/AppTestMain.h"
#include "support/qt/PatternLibraryFolder.h"
#include "support/qt/TestImages.h"

namespace {

void Collect(QAccessibleInterface* node, QList<QAccessibleInterface*>& all) {
    if (node == nullptr) return;
    all << node;
    for (int i = 0; i < node->childCount(); ++i) Collect(node->child(i), all);
}

// The one interface under the window with that role and name; null unless exactly one.
QAccessibleInterface* Find(QWidget& window, QAccessible::Role role, const QString& name) {
    QList<QAccessibleInterface*> all;
    Collect(QAccessible::queryAccessibleInterface(&window), all);
    QList<QAccessibleInterface*> found;
    for (QAccessibleInterface* node : all) {
        if (node->role() == role && node->text(QAccessible::Name) == name) found << node;
    }
    return found.size() == 1 ? found.first() : nullptr;
}

// The names of every interface of that role under the window, in tree order.
QStringList Names(QWidget& window, QAccessible::Role role) {
    QList<QAccessibleInterface*> all;
    Collect(QAccessible::queryAccessibleInterface(&window), all);
    QStringList names;
    for (QAccessibleInterface* node : all) {
        if (node->role() == role) names << node->text(QAccessible::Name);
    }
    return names;
}

QStringList CellNames(QAccessibleInterface* board) {
    QStringList names;
    for (int i = 0; i < board->childCount(); ++i) names << board->child(i)->text(QAccessible::Name);
    return names;
}

QString ToolTipAt(QWidget& widget, const QPoint& point) {
    QHelpEvent event(QEvent::ToolTip, point, widget.mapToGlobal(point));
    QApplication::sendEvent(&widget, &event);
    const QString text = QToolTip::text();
    QToolTip::hideText();
    return text;
}

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_data.StartAfresh(); }

    void everyPictureButtonIsANamedButton_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("role");
        QTest::addColumn<bool>("checkable");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("shown");  // at start, on the game section
        const int button = QAccessible::Button;
        QTest::newRow("Game") << "Game" << button << true << true << true;
        QTest::newRow("Pictures") << "Pictures" << button << true << false << true;
        QTest::newRow("Scores") << "Scores" << button << true << false << true;
        QTest::newRow("About") << "About" << button << true << false << true;
        QTest::newRow("Minimize") << "Minimize" << button << false << false << true;
        QTest::newRow("Close") << "Close" << button << false << false << true;
        QTest::newRow("New Game") << "New Game" << button << false << false << true;
        QTest::newRow("Add") << "Add" << button << false << false << false;
        QTest::newRow("Delete") << "Delete" << button << false << false << false;
        const int link = QAccessible::Link;
        QTest::newRow("mail") << "support@corvalin.example" << link << false << false << false;
        QTest::newRow("web") << "https://corvalin.example" << link << false << false << false;
    }

    void everyPictureButtonIsANamedButton() {
        QFETCH(QString, name);
        QFETCH(int, role);
        QFETCH(bool, checkable);
        QFETCH(bool, checked);
        QFETCH(bool, shown);
        CCorvalin window;
        window.show();
        QAccessibleInterface* button = Find(window, static_cast<QAccessible::Role>(role), name);
        QVERIFY(button != nullptr);
        const QAccessible::State state = button->state();
        QCOMPARE(bool(state.checkable), checkable);
        QCOMPARE(bool(state.checked), checked);
        QCOMPARE(bool(state.invisible), !shown);
        QVERIFY(state.focusable);
        QVERIFY(button->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));
    }

    void pressingASectionButtonMovesTheCheck() {
        CCorvalin window;
        window.show();
        QAccessibleInterface* pictures = Find(window, QAccessible::Button, "Pictures");
        pictures->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents();
        QCOMPARE(window.Res()->geometry(), ToQRect(layout::kContentRect));
        QVERIFY(pictures->state().checked);
        QVERIFY(!Find(window, QAccessible::Button, "Game")->state().checked);
        QVERIFY(!Find(window, QAccessible::Button, "Add")->state().invisible);
        QVERIFY(Find(window, QAccessible::Button, "New Game")->state().invisible);
    }

    void theLibraryListsItsControlsBeforeItsButtonsOnceShown() {
        CCorvalin window;
        window.show();
        Find(window, QAccessible::Button, "Pictures")
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents();
        QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(window.Res());
        QList<QAccessible::Role> roles;
        for (int i = 0; i < panel->childCount(); ++i) roles << panel->child(i)->role();
        QCOMPARE(roles, (QList<QAccessible::Role>{QAccessible::ComboBox, QAccessible::List,
                                                  QAccessible::Button, QAccessible::Button,
                                                  QAccessible::Graphic}));
    }

    void aButtonSitsWhereItIsDrawn() {
        CCorvalin window;
        window.show();
        QAccessibleInterface* close = Find(window, QAccessible::Button, "Close");
        QCOMPARE(close->rect(),
                 ToQRect(layout::kCloseButton.rect).translated(window.mapToGlobal(QPoint(0, 0))));
    }

    void theBoardIsATableOfTilesFollowingTheMoves() {
        CCorvalin window;
        window.show();
        QAccessibleInterface* board = QAccessible::queryAccessibleInterface(window.Game()->View());
        QCOMPARE(board->role(), QAccessible::Table);
        QAccessibleTableInterface* table = board->tableInterface();
        QVERIFY(table != nullptr);
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(table->columnCount(), 4);
        QStringList home;
        for (int n = 1; n <= 12; ++n) home << QString("Tile %1").arg(n);
        QCOMPARE(CellNames(board), home);
        QCOMPARE(table->cellAt(1, 2)->text(QAccessible::Name), QString("Tile 7"));
        QCOMPARE(table->cellAt(1, 2)->tableCellInterface()->rowIndex(), 1);
        QCOMPARE(table->cellAt(1, 2)->role(), QAccessible::Cell);

        PostMessage(window.Game(), UM_BUTTONCLICK, GameFrame::kNewButtonId);
        QCoreApplication::processEvents();
        PuzzleBoard& model = window.Game()->View()->Board();
        model.ShuffleWithSeed(5);
        const int row = model.EmptyRow();
        const int col = model.EmptyCol();
        QCOMPARE(table->cellAt(row, col)->text(QAccessible::Name), QString("Empty"));
        const QString moving = table->cellAt(row - 1, col)->text(QAccessible::Name);
        QTest::keyClick(window.Game()->View(), Qt::Key_Down);
        QCOMPARE(table->cellAt(row, col)->text(QAccessible::Name), moving);
        QCOMPARE(table->cellAt(row - 1, col)->text(QAccessible::Name), QString("Empty"));
        QStringList sorted = CellNames(board);
        sorted.removeOne("Empty");
        QCOMPARE(sorted.size(), 11);
        QCOMPARE(QSet<QString>(sorted.begin(), sorted.end()).size(), 11);
    }

    void theBoardTakesTheSizeOfTheChoice() {
        App()->m_boardRows = 6;
        App()->m_boardCols = 8;
        CCorvalin window;
        window.show();
        QAccessibleInterface* board = QAccessible::queryAccessibleInterface(window.Game()->View());
        QCOMPARE(board->tableInterface()->rowCount(), 6);
        QCOMPARE(board->childCount(), 48);
        QCOMPARE(board->child(47)->text(QAccessible::Name), QString("Tile 48"));
        QCOMPARE(board->child(8)->text(QAccessible::Name), QString("Tile 9"));
    }

    void theCountersAreNamedByTheirValues() {
        CCorvalin window;
        window.show();
        QVERIFY(Find(window, QAccessible::StaticText, "Moves: 0") != nullptr);
        QVERIFY(Find(window, QAccessible::StaticText, "Seconds: 0") != nullptr);
        SendMessage(window.Game(), UM_TILESMOVED, 3);
        QVERIFY(Find(window, QAccessible::StaticText, "Moves: 3") != nullptr);
        QVERIFY(Find(window, QAccessible::StaticText, "Moves: 0") == nullptr);
    }

    void thePicturesAreNamedAfterTheShownPicture() {
        CCorvalin window;
        window.show();
        // The thumbnail and the preview, in that order.
        QCOMPARE(Names(window, QAccessible::Graphic), (QStringList{"First", "First"}));
        SendMessage(window.Res(), UM_LISTSELCHANGE, 1);
        QCOMPARE(Names(window, QAccessible::Graphic), (QStringList{"First", "Second"}));
        PostMessage(&window, UM_PLAYPICTURE);
        QCoreApplication::processEvents();
        QCOMPARE(Names(window, QAccessible::Graphic), (QStringList{"Second", "Second"}));
    }

    void buttonsAndCountersShowTheirNamesAsTooltips() {
        CCorvalin window;
        window.show();
        // First: a tooltip once shown lingers a moment after it is hidden.
        QCOMPARE(ToolTipAt(*window.Game(), ToQRect(layout::kThumbnailRect).center()), QString());
        QCOMPARE(ToolTipAt(window, ToQRect(layout::kGameButton.rect).center()), QString("Game"));
        QCOMPARE(ToolTipAt(window, ToQRect(layout::kCloseButton.rect).center()), QString("Close"));
        GameFrame& game = *window.Game();
        QCOMPARE(ToolTipAt(game, ToQRect(layout::kNewButton.rect).center()), QString("New Game"));
        QCOMPARE(ToolTipAt(game, ToQRect(layout::kStepsRect).center()), QString("Moves: 0"));
        QCOMPARE(ToolTipAt(game, ToQRect(layout::kSecondsRect).center()), QString("Seconds: 0"));
    }

private:
    test::PatternLibraryFolder m_data;
};

CORVALIN_APP_TEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
