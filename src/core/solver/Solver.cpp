#include "core/solver/Solver.h"

#include "core/solver/OptimalSearch.h"
#include "core/solver/PathShortening.h"
#include "core/solver/StagedSearch.h"

namespace {

// Quick and greedy first, so there is always an answer, then the plans that usually give
// shorter solutions.
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
    // Two thirds of the budget for plans, the rest for shortcuts along the best.
    const auto start = std::chrono::steady_clock::now();
    const auto deadline = start + budget * 2 / 3;
    std::vector<int> best;
    bool first = true;
    for (const StagePlan& plan : kPlans) {
        auto path = StagedPath(board, plan, first ? std::nullopt : std::optional(deadline));
        if (path && (first || path->size() < best.size())) best = std::move(*path);
        first = false;
        if (std::chrono::steady_clock::now() > deadline) break;
    }
    return Shortened(board, std::move(best), start + budget);
}

Solution Solve(const SlidingBoard& board, std::chrono::milliseconds budget) {
    const std::vector<int> path = SolvePath(board, budget);
    return {.clicks = ClicksAlong(board, path), .moves = static_cast<int>(path.size())};
}
