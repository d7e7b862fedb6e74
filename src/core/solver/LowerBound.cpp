#include "core/solver/LowerBound.h"

#include <algorithm>

int LineConflicts(const SlidingBoard& board, int line, bool byColumn) {
    // The tiles in this line that belong in it, by where along it they belong, in the order
    // they stand: all but the longest increasing run must step aside and back.
    int along[SlidingBoard::kMaxCols];
    int count = 0;
    const int length = byColumn ? board.rows : board.cols;
    for (int i = 0; i < length; ++i) {
        const int cell = byColumn ? i * board.cols + line : line * board.cols + i;
        const int home = board.home[cell];
        if (home == board.EmptyHome()) continue;
        if (byColumn ? home % board.cols == line : home / board.cols == line)
            along[count++] = byColumn ? home / board.cols : home % board.cols;
    }
    int longest[SlidingBoard::kMaxCols];
    int best = 0;
    for (int i = 0; i < count; ++i) {
        longest[i] = 1;
        for (int j = 0; j < i; ++j)
            if (along[j] < along[i]) longest[i] = std::max(longest[i], longest[j] + 1);
        best = std::max(best, longest[i]);
    }
    return 2 * (count - best);
}

int ManhattanAndConflicts(const SlidingBoard& board) {
    int moves = 0;
    for (int cell = 0; cell < board.Cells(); ++cell)
        if (board.home[cell] != board.EmptyHome())
            moves += CellDistance(cell, board.home[cell], board.cols);
    for (int row = 0; row < board.rows; ++row) moves += LineConflicts(board, row, false);
    for (int col = 0; col < board.cols; ++col) moves += LineConflicts(board, col, true);
    return moves;
}
