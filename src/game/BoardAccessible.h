#pragma once

#include <QString>

class PuzzleBoard;
class QWidget;

// The board as assistive technology reads it: a table of rows x cols cells, each named after
// the tile it holds.

// What the accessible side asks of the widget that shows a board. A widget that implements it
// is published as the board's table; the accessible side knows nothing else of it.
class AccessibleBoard {
public:
    virtual ~AccessibleBoard() = default;
    // The board shown, in the widget's PuzzleBoard::kAreaWidth x kAreaHeight area at (0, 0).
    virtual const PuzzleBoard& Board() const = 0;
};

// Registers the board's interface with Qt; any number of calls, registered once.
void InstallBoardAccessibility();

// "Tile N", N being the tile's place in the whole picture counted from 1 in reading order,
// or "Empty".
QString CellName(const PuzzleBoard& board, int row, int col);

// Tell assistive technology that tiles moved, or that the board was set up anew (its size
// may have changed). view shows board.
void TilesMoved(QWidget* view, const PuzzleBoard& board);
void BoardReset(QWidget* view, const PuzzleBoard& board);
