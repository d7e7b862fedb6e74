#pragma once

// Solves a seeded board through the view by clicking the empty cell's shuffle path backwards.

#include <QPoint>
#include <QTest>
#include <functional>

#include "core/board/PuzzleBoard.h"
#include "core/board/RandomGenerator.h"
#include "game/GameWnd.h"
#include "support/ShufflePath.h"

namespace test {

inline QPoint CentreOf(const PuzzleBoard& board, CellPos cell) {
    return {(2 * cell.col + 1) * 200 / board.Cols(), (2 * cell.row + 1) * 150 / board.Rows()};
}

struct SolveResult {
    int clicks = 0;
    int moved = 0;
};

// Clicks the view until the board is solved; calls beforeClick before each click with
// whether it will be the last one. Returns the number of clicks and the tiles moved.
inline SolveResult SolveByClicks(GameWnd& view, std::uint32_t seed,
                                 const std::function<void(bool last)>& beforeClick = {}) {
    PuzzleBoard& board = view.Board();
    const auto path = EmptyCellPath(seed, board.Rows(), board.Cols());
    SolveResult result;
    for (int i = static_cast<int>(path.size()) - 2; i >= 0 && board.InPlay(); --i) {
        // Predict the click's effect on a copy to know when it will be the last.
        PuzzleBoard copy = board;
        const ClickResult predicted = copy.ClickCell(path[i].row, path[i].col);
        if (beforeClick) beforeClick(predicted.solved);
        QTest::mouseClick(&view, Qt::LeftButton, {}, CentreOf(board, path[i]));
        result.moved += predicted.moved;
        ++result.clicks;
    }
    return result;
}

// The arrow keys that solve a board shuffled from seed: the shuffle's path walked back one
// cell at a time. An arrow moves the empty cell the other way: Left moves it right.
inline std::vector<Qt::Key> ArrowsToSolve(std::uint32_t seed, int rows, int cols) {
    const auto path = EmptyCellPath(seed, rows, cols);
    std::vector<Qt::Key> keys;
    CellPos empty = path.back();
    for (int i = static_cast<int>(path.size()) - 2; i >= 0; --i) {
        while (empty.col != path[i].col) {
            const bool right = path[i].col > empty.col;
            keys.push_back(right ? Qt::Key_Left : Qt::Key_Right);
            empty.col += right ? 1 : -1;
        }
        while (empty.row != path[i].row) {
            const bool down = path[i].row > empty.row;
            keys.push_back(down ? Qt::Key_Up : Qt::Key_Down);
            empty.row += down ? 1 : -1;
        }
    }
    return keys;
}

}  // namespace test
