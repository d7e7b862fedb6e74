#include "core/solver/Solver.h"

#include "core/solver/OptimalSearch.h"
#include "core/solver/PathShortening.h"
#include "core/solver/StagedSearch.h"
#include "core/solver/WindowSearch.h"

namespace {

// Quick and greedy first, then the plans that usually give shorter solutions.
constexpr StagePlan kPlans[] = {
    {.group = 3, .weightTenths = 50, .rowFirstWhenSquare = true},
    {.group = 2, .weightTenths = 30, .rowFirstWhenSquare = true},
    {.group = 3, .weightTenths = 30, .rowFirstWhenSquare = true},
    {.group = 3, .weightTenths = 30, .rowFirstWhenSquare = false},
    {.group = 8, .weightTenths = 50, .rowFirstWhenSquare = true},
    {.group = 2, .weightTenths = 20, .rowFirstWhenSquare = false},
};

}  // namespace

std::vector<int> SolvePath(const SlidingBoard& board, std::chrono::milliseconds budget) {
    if (board.Cells() <= 12) return ShortestPath(board);
    // Half the budget for plans, a sixth for short detours cut out of the best, the rest for
    // longer windows of it made shorter; each step stops at its deadline.
    const auto start = std::chrono::steady_clock::now();
    // The answer should the budget end before any other.
    std::vector<int> best = *StagedPath(board, kQuickestPlan, std::nullopt);
    const auto plansEnd = start + budget / 2;
    for (const StagePlan& plan : kPlans) {
        if (std::chrono::steady_clock::now() >= plansEnd) break;
        auto path = StagedPath(board, plan, plansEnd);
        if (path && path->size() < best.size()) best = std::move(*path);
    }
    best = Shortened(board, std::move(best), start + budget * 2 / 3);
    return WindowsShortened(board, std::move(best), start + budget);
}

Solution Solve(const SlidingBoard& board, std::chrono::milliseconds budget) {
    const std::vector<int> path = SolvePath(board, budget);
    return {.clicks = ClicksAlong(board, path), .moves = static_cast<int>(path.size())};
}
