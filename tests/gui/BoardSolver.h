#pragma once

// Solves a seeded board by clicking the empty cell's shuffle path backwards: every
// slide of the shuffle is undone by one click on the cell the empty cell came from.

#include <QPoint>
#include <QTest>
#include <functional>
#include <vector>

#include "core/board/PuzzleBoard.h"
#include "core/board/RandomGenerator.h"
#include "game/GameWnd.h"

namespace test {

struct CellPos {
    int row;
    int col;
};

// Where the empty cell stood after each slide of ShuffleWithSeed(seed), start included.
inline std::vector<CellPos> EmptyCellPath(std::uint32_t seed, int rows, int cols) {
    RandomGenerator random;
    random.Seed(seed);
    CellPos empty{rows - 1, cols - 1};
    std::vector<CellPos> path{empty};
    for (int i = 0; i < PuzzleBoard::kShuffleSlides; ++i) {
        const int a = random.Next();
        const int b = random.Next();
        if (a % 2 == 1)
            empty.col = b % cols;
        else
            empty.row = b % rows;
        path.push_back(empty);
    }
    empty.col = cols - 1;
    path.push_back(empty);
    empty.row = rows - 1;
    path.push_back(empty);
    return path;
}

inline QPoint CentreOf(const PuzzleBoard& board, CellPos cell) {
    return {(2 * cell.col + 1) * 200 / board.Cols(), (2 * cell.row + 1) * 150 / board.Rows()};
}

// Clicks the view until the board is solved; calls beforeClick before each click with
// whether it will be the last one. Returns the number of clicks and the tiles moved.
struct SolveResult {
    int clicks = 0;
    int moved = 0;
};

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

}  // namespace test
