#pragma once

#include <chrono>
#include <optional>
#include <vector>

#include "core/solver/SlidingBoard.h"

// How a staged solution is made: how many tiles of a line each stage adds, how much the
// search trusts its estimate over the moves made (10 = as much, more = greedier, faster and
// longer), whether a square part loses its top row (else its left column) first, and the
// most cells of the part left that the shortest path solves (fewer: faster, longer).
struct StagePlan {
    int group = 2;
    int weightTenths = 30;
    bool rowFirstWhenSquare = true;
    int smallEnough = 12;
};

// The plan for when time runs out: one tile a stage, greedy, down to a part of 2 x 2; a few
// milliseconds at most on the largest board.
inline constexpr StagePlan kQuickestPlan{.group = 1, .weightTenths = 100, .smallEnough = 4};

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
