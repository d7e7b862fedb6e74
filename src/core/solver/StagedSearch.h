#pragma once

#include <chrono>
#include <optional>
#include <vector>

#include "core/solver/SlidingBoard.h"

// How a staged solution is made: how many tiles of a line each stage adds, how much the
// search trusts its estimate over the moves made (10 = as much, more = greedier, faster and
// longer), and whether a square part loses its top row (else its left column) first.
struct StagePlan {
    int group = 2;
    int weightTenths = 30;
    bool rowFirstWhenSquare = true;
};

// A solution of a solvable board of any size up to 6 x 8, short but not always the shortest:
// the cells the empty cell enters. The part still to solve loses its top row or left column,
// a few tiles a stage, each stage a weighted best-first search over where that line's tiles
// and the empty cell stand, until the part left has 12 cells or fewer, which ShortestPath
// solves. Nothing when the deadline passes first; with no deadline, always a solution.
std::optional<std::vector<int>> StagedPath(
    const SlidingBoard& board, const StagePlan& plan,
    std::optional<std::chrono::steady_clock::time_point> deadline);

// path with every round trip cut out: wherever the board comes back to a position it had,
// the moves in between go.
std::vector<int> WithoutRoundTrips(const SlidingBoard& board, const std::vector<int>& path);
