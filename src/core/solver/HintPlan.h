#pragma once

#include <chrono>
#include <optional>
#include <vector>

#include "core/solver/SlidingBoard.h"

// The hints of one game: one solution, followed as long as the board follows it (hinted or
// not), and made again from where the board is when a click leaves it.
class HintPlan {
public:
    // The next click: the cell to click and how many tiles it slides toward the empty cell.
    struct Hint {
        int cell;
        int tiles;
    };

    // board solvable and not solved: the next click of the plan, solving first when needed.
    Hint Next(const SlidingBoard& board, std::chrono::milliseconds budget);
    // After this, the next hint solves afresh.
    void Forget() { m_path.clear(); }

private:
    SlidingBoard m_start;     // where the path starts
    std::vector<int> m_path;  // the cells the empty cell enters from m_start on
};
