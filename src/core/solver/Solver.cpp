#include "core/solver/Solver.h"

#include <algorithm>
#include <iterator>

#include "core/solver/BeamSearch.h"
#include "core/solver/OptimalSearch.h"
#include "core/solver/PathShortening.h"
#include "core/solver/StagedSearch.h"
#include "core/solver/WindowSearch.h"

namespace {

// The plans that usually give the shortest solutions first, as the budget finishes one or two
// of them on the larger boards; the last one is quicker and goes first on the largest, where
// the first takes most of the budget.
constexpr int kLargestCells = 40;
constexpr StagePlan kPlans[] = {
    {.group = 3, .weightTenths = 30, .rowFirstWhenSquare = true},
    {.group = 3, .weightTenths = 20, .rowFirstWhenSquare = true},
    {.group = 8, .weightTenths = 50, .rowFirstWhenSquare = true},
    {.group = 2, .weightTenths = 30, .rowFirstWhenSquare = true},
    {.group = 3, .weightTenths = 30, .rowFirstWhenSquare = false},
    {.group = 3, .weightTenths = 50, .rowFirstWhenSquare = true},
};

// Beams of a few hundred positions solve a board of up to 30 cells within the budget, shorter
// than the staged plans; on larger boards they take too long, even for the end of a plan.
constexpr int kBeamCells = 30;
// Where each step of a solve ends, in twelfths of the budget from its start.
constexpr int kParts = 12;
struct Shares {
    int plans;
    int beams;
    int shortcuts;
};
constexpr Shares kWithBeams{.plans = 2, .beams = 10, .shortcuts = 11};
constexpr Shares kWithoutBeams{.plans = 9, .beams = 9, .shortcuts = 10};

}  // namespace

std::vector<int> SolvePath(const SlidingBoard& board, std::chrono::milliseconds budget) {
    if (board.Cells() <= 12) return ShortestPath(board);
    const auto start = std::chrono::steady_clock::now();
    auto after = [&](int parts) { return start + budget * parts / kParts; };
    const Shares& shares = board.Cells() <= kBeamCells ? kWithBeams : kWithoutBeams;
    // The answer should the budget end before any other; each step below stops at its
    // deadline.
    std::vector<int> best = *StagedPath(board, kQuickestPlan, std::nullopt);
    std::vector<StagePlan> plans(std::begin(kPlans), std::end(kPlans));
    if (board.Cells() > kLargestCells) std::rotate(plans.begin(), plans.end() - 1, plans.end());
    for (const StagePlan& plan : plans) {
        if (std::chrono::steady_clock::now() >= after(shares.plans)) break;
        auto path = StagedPath(board, plan, after(shares.plans));
        if (path && path->size() < best.size()) best = std::move(*path);
    }
    for (std::size_t width = 64; std::chrono::steady_clock::now() < after(shares.beams);
         width *= 2) {
        auto path = BeamPath(board, width, best.size(), after(shares.beams));
        if (path && path->size() < best.size()) best = std::move(*path);
    }
    best = Shortened(board, std::move(best), after(shares.shortcuts));
    return WindowsShortened(board, std::move(best), after(kParts));
}

Solution Solve(const SlidingBoard& board, std::chrono::milliseconds budget) {
    const std::vector<int> path = SolvePath(board, budget);
    return {.clicks = ClicksAlong(board, path), .moves = static_cast<int>(path.size())};
}
