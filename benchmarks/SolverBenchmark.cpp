// The solver on the boards the game deals: for each size, the hint on the boards of seeds
// 1..100 (time to the first hint of a game, the solution's length against the lower bound),
// and the lengths of the greediest plan, one tile at a time, for comparison.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "core/board/GridSize.h"
#include "core/board/PuzzleBoard.h"
#include "core/solver/HintPlan.h"
#include "core/solver/LowerBound.h"
#include "core/solver/PatternTables.h"
#include "core/solver/Solver.h"
#include "core/solver/StagedSearch.h"

namespace {

constexpr int kBoards = 100;

SlidingBoard Dealt(const GridSize& size, std::uint32_t seed) {
    PuzzleBoard board;
    board.Reset(size);
    board.ShuffleWithSeed(seed);
    std::vector<int> ids;
    for (int row = 0; row < board.Rows(); ++row)
        for (int col = 0; col < board.Cols(); ++col) ids.push_back(board.CellValue(row, col));
    return ReadTileIds(size.rows, size.cols, ids).board;
}

// One iteration: the first hint on each of the 100 boards, timed one by one.
void BM_HintOnDealtBoards(benchmark::State& state) {
    const GridSize size = kGridSizes[static_cast<std::size_t>(state.range(0))];
    PatternTables::For(3, 4);  // made once per process; its own figure is the tool's start
    std::vector<double> times;
    double length = 0;
    double bound = 0;
    double oneByOne = 0;
    for (auto _ : state) {
        times.clear();
        length = bound = oneByOne = 0;
        for (std::uint32_t seed = 1; seed <= kBoards; ++seed) {
            const SlidingBoard board = Dealt(size, seed);
            HintPlan plan;
            const auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(plan.Next(board, kHintBudget));
            times.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
            state.PauseTiming();
            length += static_cast<double>(SolvePath(board, kHintBudget).size());
            bound += ManhattanAndConflicts(board);
            if (board.Cells() > 12) {
                oneByOne += static_cast<double>(
                    StagedPath(board, {.group = 1, .weightTenths = 100}, std::nullopt)->size());
            }
            state.ResumeTiming();
        }
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[kBoards / 2];
    state.counters["p99_ms"] = times[kBoards * 99 / 100 - 1];
    state.counters["max_ms"] = times.back();
    state.counters["mean_moves"] = length / kBoards;
    state.counters["mean_bound"] = bound / kBoards;
    state.counters["ratio"] = length / bound;
    state.counters["one_tile_at_a_time_ratio"] = oneByOne / bound;
}
BENCHMARK(BM_HintOnDealtBoards)->DenseRange(0, 5)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
