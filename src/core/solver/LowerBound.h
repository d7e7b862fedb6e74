#pragma once

#include "core/solver/SlidingBoard.h"

// Manhattan distance plus linear conflicts: the least number of moves any solution of board
// can have by this measure (never more than the true least).
int ManhattanAndConflicts(const SlidingBoard& board);

// The linear conflicts of one row (byColumn false) or column (true): two moves for each tile
// that must leave its line to let the others of that line pass.
int LineConflicts(const SlidingBoard& board, int line, bool byColumn);

// Moves between two cells of a board cols wide, in rows and columns.
inline int CellDistance(int a, int b, int cols) {
    const int rows = a / cols - b / cols;
    const int columns = a % cols - b % cols;
    return (rows < 0 ? -rows : rows) + (columns < 0 ? -columns : columns);
}
