#pragma once

// Where the empty cell comes to rest during a seeded shuffle, drawn with the game's own
// generator. Walking the path backwards solves the board: each slide is undone by one click
// on the cell the empty cell came from.

#include <cstdint>
#include <vector>

#include "core/board/PuzzleBoard.h"
#include "core/board/RandomGenerator.h"

namespace test {

struct CellPos {
    int row;
    int col;
    bool operator==(const CellPos&) const = default;
};

// One slide from its two draws: an odd first draw moves the empty cell along its row.
inline CellPos ShuffleTarget(CellPos empty, int first, int second, int rows, int cols) {
    if (first % 2 == 1) return {empty.row, second % cols};
    return {second % rows, empty.col};
}

// Every resting place of the empty cell for ShuffleWithSeed(seed), the start included.
inline std::vector<CellPos> EmptyCellPath(std::uint32_t seed, int rows, int cols) {
    RandomGenerator random;
    random.Seed(seed);
    CellPos empty{rows - 1, cols - 1};
    std::vector<CellPos> path{empty};
    for (int i = 0; i < PuzzleBoard::kShuffleSlides; ++i) {
        const int first = random.Next();
        empty = ShuffleTarget(empty, first, random.Next(), rows, cols);
        path.push_back(empty);
    }
    empty.col = cols - 1;
    path.push_back(empty);
    empty.row = rows - 1;
    path.push_back(empty);
    return path;
}

}  // namespace test
