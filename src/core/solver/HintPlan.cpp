#include "core/solver/HintPlan.h"

#include "core/solver/Solver.h"

namespace {

// The moves of the first straight run of path from board.
std::size_t RunLength(const SlidingBoard& board, const std::vector<int>& path) {
    std::size_t end = 1;
    while (end < path.size() && path[end] - path[end - 1] == path[0] - board.empty) ++end;
    return end;
}

}  // namespace

HintPlan::Hint HintPlan::Next(const SlidingBoard& board, std::chrono::milliseconds budget) {
    // The board may have followed the plan some clicks on, with or without hints.
    SlidingBoard along = m_start;
    std::size_t done = 0;
    while (!(along == board) && done < m_path.size()) {
        const std::size_t run = RunLength(along, {m_path.begin() + done, m_path.end()});
        for (std::size_t i = 0; i < run; ++i) along.MoveEmptyTo(m_path[done + i]);
        done += run;
    }
    if (along == board && done < m_path.size()) {
        m_path.erase(m_path.begin(), m_path.begin() + done);
    } else {
        m_path = SolvePath(board, budget);
    }
    m_start = board;
    const std::size_t run = RunLength(board, m_path);
    return {.cell = m_path[run - 1], .tiles = static_cast<int>(run)};
}
