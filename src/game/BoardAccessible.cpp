#include "game/BoardAccessible.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWidget>

#include "core/board/PuzzleBoard.h"
#include "platform/QtTranslation.h"
#include "skin/ReadingOrder.h"

namespace {

QRect CellRect(const PuzzleBoard& board, int row, int col) {
    const int x0 = col * PuzzleBoard::kAreaWidth / board.Cols();
    const int x1 = (col + 1) * PuzzleBoard::kAreaWidth / board.Cols();
    const int y0 = row * PuzzleBoard::kAreaHeight / board.Rows();
    const int y1 = (row + 1) * PuzzleBoard::kAreaHeight / board.Rows();
    return {x0, y0, x1 - x0, y1 - y0};
}

// One cell, by its index in reading order; it reads the board whenever asked, so it stays
// right as tiles move.
class BoardCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    BoardCell(QWidget* view, const AccessibleBoard* board, int index)
        : m_view(view), m_board(board), m_index(index) {}

    bool isValid() const override { return m_view && m_index < Count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_view->window()->windowHandle(); }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_view.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !isValid()) return {};
        return CellName(m_board->Board(), rowIndex(), columnIndex());
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect local = CellRect(m_board->Board(), rowIndex(), columnIndex());
        return local.translated(m_view->mapToGlobal(QPoint(0, 0)));
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid() || !IsShown(m_view)) {
            state.invisible = true;
            state.offscreen = true;
        }
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_index % m_board->Board().Cols(); }
    int rowIndex() const override { return m_index / m_board->Board().Cols(); }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    int Count() const { return m_board->Board().Rows() * m_board->Board().Cols(); }

    QPointer<QWidget> m_view;
    const AccessibleBoard* m_board;  // the view itself: asked only while m_view lives
    int m_index;
};

class BoardTable : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    BoardTable(QWidget* view, const AccessibleBoard* board)
        : QAccessibleWidget(view, QAccessible::Table), m_board(board) {}
    ~BoardTable() override {
        for (QAccessible::Id id : std::as_const(m_cellIds))
            QAccessible::deleteAccessibleInterface(id);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (!IsShown(View())) {
            state.invisible = true;
            state.offscreen = true;
        }
        return state;
    }
    int childCount() const override { return rowCount() * columnCount(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        if (const auto found = m_cellIds.constFind(index); found != m_cellIds.cend())
            return QAccessible::accessibleInterface(*found);
        auto* cell = new BoardCell(View(), m_board, index);
        m_cellIds.insert(index, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
        for (auto it = m_cellIds.cbegin(); it != m_cellIds.cend(); ++it) {
            if (it.value() == id && it.key() < childCount()) return it.key();
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = View()->mapFromGlobal(QPoint(x, y));
        if (!View()->rect().contains(local)) return nullptr;
        const PuzzleBoard::Cell cell = m_board->Board().CellAt(local.x(), local.y());
        return cellAt(cell.row, cell.col);
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return nullptr;
        return child(row * columnCount() + column);
    }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int columnCount() const override { return m_board->Board().Cols(); }
    int rowCount() const override { return m_board->Board().Rows(); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    QWidget* View() const { return widget(); }

    const AccessibleBoard* m_board;                 // the widget itself, seen through its interface
    mutable QHash<int, QAccessible::Id> m_cellIds;  // made on first request, kept for life
};

QAccessibleInterface* BoardFactory(const QString&, QObject* object) {
    auto* view = qobject_cast<QWidget*>(object);
    const auto* board = dynamic_cast<const AccessibleBoard*>(object);
    return view != nullptr && board != nullptr ? new BoardTable(view, board) : nullptr;
}

}  // namespace

void InstallBoardAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(BoardFactory);
        return true;
    }();
    (void)installed;
}

QString CellName(const PuzzleBoard& board, int row, int col) {
    const int tile = board.CellValue(row, col);
    // TRANSLATORS: the spoken name of the board's empty cell
    if (tile == PuzzleBoard::kEmptyCell) return QTr("Empty");
    // TRANSLATORS: the spoken name of a tile, by its number when the picture is whole
    return QTr("Tile %1").arg(tile / 10 * board.Cols() + tile % 10 + 1);
}

void TilesMoved(QWidget* view, const PuzzleBoard& board) {
    if (!QAccessible::isActive()) return;
    const int cells = board.Rows() * board.Cols();
    for (int i = 0; i < cells; ++i) {
        QAccessibleEvent event(view, QAccessible::NameChanged);
        event.setChild(i);
        QAccessible::updateAccessibility(&event);
    }
}

void BoardReset(QWidget* view, const PuzzleBoard& board) {
    if (!QAccessible::isActive()) return;
    QAccessibleTableModelChangeEvent event(view, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&event);
    TilesMoved(view, board);
}
