#pragma once

#include <chrono>
#include <vector>

#include "core/solver/SlidingBoard.h"

// How long a solution may be looked for when the player asks: long enough for several staged
// plans on the largest board, short enough that the hint feels instant.
inline constexpr std::chrono::milliseconds kHintBudget{18};

// The best solution of a solvable board found within budget, as the cells the empty cell
// enters: always the shortest on boards of up to 12 cells, however long that takes; on larger
// boards the quickest plan, replaced by a shorter staged plan or beam finished in time, then made
// shorter by shortcuts and windows until the budget ends.
std::vector<int> SolvePath(const SlidingBoard& board, std::chrono::milliseconds budget);

// The same as clicks: each clicked tile's id, a click sliding a run as the game's does.
struct Solution {
    std::vector<int> clicks;
    int moves = 0;  // tiles moved, as the game counts them
};
Solution Solve(const SlidingBoard& board, std::chrono::milliseconds budget);
