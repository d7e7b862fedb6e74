#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <string>
#include <vector>

#include "core/board/GridSize.h"
#include "core/board/PuzzleBoard.h"
#include "core/solver/BeamSearch.h"
#include "core/solver/HintPlan.h"
#include "core/solver/LowerBound.h"
#include "core/solver/OptimalSearch.h"
#include "core/solver/PathShortening.h"
#include "core/solver/Solver.h"
#include "core/solver/StagedSearch.h"
#include "core/solver/WindowSearch.h"

namespace {

std::vector<int> IdsOf(const PuzzleBoard& board) {
    std::vector<int> ids;
    for (int row = 0; row < board.Rows(); ++row)
        for (int col = 0; col < board.Cols(); ++col) ids.push_back(board.CellValue(row, col));
    return ids;
}

SlidingBoard Shuffled(const GridSize& size, std::uint32_t seed) {
    PuzzleBoard board;
    board.Reset(size);
    board.ShuffleWithSeed(seed);
    return ReadTileIds(size.rows, size.cols, IdsOf(board)).board;
}

// A second, plain search to hold the solver's lengths against: iterative deepening on the
// Manhattan distance alone, moving tiles in a board of its own.
class PlainSearch {
public:
    explicit PlainSearch(const SlidingBoard& board) : m_board(board) {}

    int Shortest() {
        for (int bound = Distance();; ++bound)
            if (Within(0, bound, -1)) return bound;
    }

private:
    int Distance() const {
        int sum = 0;
        for (int cell = 0; cell < m_board.Cells(); ++cell) {
            const int home = m_board.home[cell];
            if (home == m_board.EmptyHome()) continue;
            sum += std::abs(cell / m_board.cols - home / m_board.cols) +
                   std::abs(cell % m_board.cols - home % m_board.cols);
        }
        return sum;
    }

    bool Within(int made, int bound, int back) {
        const int left = Distance();
        if (left == 0) return made == bound;
        if (made + left > bound) return false;
        const int empty = m_board.empty;
        const int row = empty / m_board.cols;
        const int col = empty % m_board.cols;
        const int steps[4] = {row > 0 ? -m_board.cols : 0,
                              row < m_board.rows - 1 ? m_board.cols : 0, col > 0 ? -1 : 0,
                              col < m_board.cols - 1 ? 1 : 0};
        for (int step : steps) {
            if (step == 0 || empty + step == back) continue;
            m_board.MoveEmptyTo(empty + step);
            const bool found = Within(made + 1, bound, empty);
            m_board.MoveEmptyTo(empty);
            if (found) return true;
        }
        return false;
    }

    SlidingBoard m_board;
};

bool Solves(SlidingBoard board, const std::vector<int>& path) {
    for (int cell : path) {
        if (CellDistance(cell, board.empty, board.cols) != 1) return false;
        board.MoveEmptyTo(cell);
    }
    return board.IsSolved();
}

}  // namespace

// Following every hint, clicked as the player clicks, ends every game, on every size.
TEST(SolverTest, FollowingTheHintsSolvesEveryShuffle) {
    for (const GridSize& size : kGridSizes) {
        for (std::uint32_t seed = 1; seed <= 100; ++seed) {
            PuzzleBoard board;
            board.Reset(size);
            board.ShuffleWithSeed(seed);
            HintPlan plan;
            int clicks = 0;
            for (; board.InPlay() && clicks < 2000; ++clicks) {
                const SlidingBoard now = ReadTileIds(size.rows, size.cols, IdsOf(board)).board;
                const HintPlan::Hint hint = plan.Next(now, std::chrono::milliseconds(0));
                const int row = hint.cell / size.cols;
                const int col = hint.cell % size.cols;
                ASSERT_TRUE(row == board.EmptyRow() || col == board.EmptyCol())
                    << size.label << " seed " << seed;
                ASSERT_EQ(board.ClickCell(row, col).moved, hint.tiles);
            }
            EXPECT_FALSE(board.InPlay()) << size.label << " seed " << seed;
        }
    }
}

// A click off the plan: the next hint starts from where the board is.
TEST(SolverTest, AClickOffThePlanIsSolvedFromThere) {
    PuzzleBoard board;
    board.Reset({.rows = 4, .cols = 5});
    board.ShuffleWithSeed(7);
    HintPlan plan;
    auto now = [&] { return ReadTileIds(4, 5, IdsOf(board)).board; };
    const HintPlan::Hint first = plan.Next(now(), std::chrono::milliseconds(0));
    // Any other tile of the empty cell's row or column.
    const int row = board.EmptyRow() == 0 ? 1 : 0;
    if (first.cell == row * 5 + board.EmptyCol()) {
        board.ClickCell(board.EmptyRow(), board.EmptyCol() == 0 ? 1 : 0);
    } else {
        board.ClickCell(row, board.EmptyCol());
    }
    for (int clicks = 0; board.InPlay() && clicks < 2000; ++clicks) {
        const HintPlan::Hint hint = plan.Next(now(), std::chrono::milliseconds(0));
        ASSERT_TRUE(board.ClickCell(hint.cell / 5, hint.cell % 5).counted);
    }
    EXPECT_FALSE(board.InPlay());
}

// On 3 x 4 every solution is a shortest one: its length is the plain search's.
TEST(SolverTest, ThreeByFourSolutionsAreShortest) {
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        const SlidingBoard board = Shuffled({.rows = 3, .cols = 4}, seed);
        const std::vector<int> path = SolvePath(board, std::chrono::milliseconds(0));
        ASSERT_TRUE(Solves(board, path)) << "seed " << seed;
        EXPECT_EQ(static_cast<int>(path.size()), PlainSearch(board).Shortest()) << "seed " << seed;
    }
}

// On 4 x 4 the shortest search, led by that size's own pattern tables, agrees with the plain
// search on boards a random walk of 36 slides from home.
TEST(SolverTest, FourByFourShortestPathsAreShortest) {
    std::mt19937 random(4);
    for (int walk = 0; walk < 6; ++walk) {
        SlidingBoard board{.rows = 4, .cols = 4, .empty = 15};
        for (int cell = 0; cell < 16; ++cell) board.home[cell] = static_cast<std::int8_t>(cell);
        for (int slide = 0; slide < 36; ++slide) {
            std::vector<int> next;
            for (int cell = 0; cell < 16; ++cell)
                if (CellDistance(cell, board.empty, 4) == 1) next.push_back(cell);
            board.MoveEmptyTo(next[random() % next.size()]);
        }
        const std::vector<int> path = ShortestPath(board);
        ASSERT_TRUE(Solves(board, path)) << "walk " << walk;
        EXPECT_EQ(static_cast<int>(path.size()), PlainSearch(board).Shortest()) << "walk " << walk;
    }
}

// Boards of sizes the game does not have are solved too.
TEST(SolverTest, OtherSizesAreSolved) {
    for (const GridSize size : {GridSize{2, 2}, GridSize{1, 5}, GridSize{2, 8}, GridSize{6, 3},
                                GridSize{4, 4}, GridSize{6, 6}, GridSize{5, 8}}) {
        const SlidingBoard board = Shuffled(size, 3);
        EXPECT_TRUE(Solves(board, SolvePath(board, std::chrono::milliseconds(5))))
            << size.rows << "x" << size.cols;
    }
}

// Two laps of the empty cell around a 2 x 2 block turn its three tiles as one lap the other
// way does: the shortcut is found, and the position reached is the same. One lap has none.
TEST(SolverTest, ShortcutsReplaceDetours) {
    SlidingBoard board{.rows = 5, .cols = 6, .empty = 29};
    for (int cell = 0; cell < board.Cells(); ++cell)
        board.home[cell] = static_cast<std::int8_t>(cell);
    const std::vector<int> lap{28, 22, 23, 29};
    std::vector<int> twoLaps = lap;
    twoLaps.insert(twoLaps.end(), lap.begin(), lap.end());
    const auto later = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    const std::vector<int> shorter = Shortened(board, twoLaps, later);
    EXPECT_EQ(shorter, (std::vector<int>{23, 22, 28, 29}));
    EXPECT_EQ(Shortened(board, lap, later), lap);

    const SlidingBoard dealt = Shuffled(kGridSizes[5], 7);
    const std::vector<int> path = SolvePath(dealt, std::chrono::milliseconds(5));
    const std::vector<int> shortened =
        Shortened(dealt, path, std::chrono::steady_clock::now() + std::chrono::milliseconds(50));
    EXPECT_TRUE(Solves(dealt, shortened));
    EXPECT_LE(shortened.size(), path.size());
}

// A window made shorter still joins the positions at its ends: a solution with a detour of
// 24 moves put into it (a walk and the same walk back) still solves the board and is
// shorter, and a search out of time leaves the path as it was.
TEST(SolverTest, WindowsMadeShorterStillSolve) {
    const SlidingBoard dealt = Shuffled(kGridSizes[3], 11);
    const std::vector<int> path = SolvePath(dealt, std::chrono::milliseconds(0));
    SlidingBoard board = dealt;
    for (std::size_t i = 0; i < path.size() / 2; ++i) board.MoveEmptyTo(path[i]);
    std::vector<int> walk{board.empty};
    std::mt19937 random(5);
    while (walk.size() <= 12) {
        const int from = walk.back();
        std::vector<int> next;
        for (int cell = 0; cell < board.Cells(); ++cell)
            if (CellDistance(cell, from, board.cols) == 1 &&
                (walk.size() < 2 || cell != walk[walk.size() - 2]))
                next.push_back(cell);
        walk.push_back(next[random() % next.size()]);
    }
    std::vector<int> detoured(path.begin(), path.begin() + static_cast<long>(path.size() / 2));
    detoured.insert(detoured.end(), walk.begin() + 1, walk.end());
    detoured.insert(detoured.end(), walk.rbegin() + 1, walk.rend());
    detoured.insert(detoured.end(), path.begin() + static_cast<long>(path.size() / 2), path.end());
    ASSERT_TRUE(Solves(dealt, detoured));

    const auto later = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    const std::vector<int> shorter = WindowsShortened(dealt, detoured, later);
    EXPECT_TRUE(Solves(dealt, shorter));
    EXPECT_LE(shorter.size(), path.size());
    EXPECT_EQ(WindowsShortened(dealt, detoured, std::chrono::steady_clock::now()), detoured);
}

// A beam's solution solves the board, and is found again under any limit above its length
// only; out of time there is none.
TEST(SolverTest, BeamsSolveWithinTheirLimit) {
    const auto later = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (std::uint32_t seed = 1; seed <= 5; ++seed) {
        const SlidingBoard board = Shuffled(kGridSizes[2], seed);
        const auto path = BeamPath(board, 64, 1000, later);
        ASSERT_TRUE(path && Solves(board, *path)) << "seed " << seed;
        EXPECT_EQ(BeamPath(board, 64, path->size() + 1, later), path) << "seed " << seed;
        EXPECT_EQ(BeamPath(board, 64, path->size(), later), std::nullopt) << "seed " << seed;
        EXPECT_EQ(BeamPath(board, 64, 1000, std::chrono::steady_clock::now()), std::nullopt);
    }
}

// With no time at all the answer is the quickest plan's, on every size above 12 cells.
TEST(SolverTest, NoTimeLeftGivesTheQuickestPlan) {
    for (const GridSize& size : kGridSizes) {
        const SlidingBoard board = Shuffled(size, 21);
        if (board.Cells() <= 12) continue;
        EXPECT_EQ(SolvePath(board, std::chrono::milliseconds(0)),
                  *StagedPath(board, kQuickestPlan, std::nullopt))
            << size.label;
    }
}

// A solution given as clicks: a straight run is one click on its farthest tile.
TEST(SolverTest, ClicksSlideWholeRuns) {
    // 0  1  2  3
    // 4  5  6  7
    // 8  9 10  _   the empty cell goes left three cells, then up one
    const SlidingBoard board =
        ReadTileIds(3, 4, {0, 1, 2, 3, 10, 11, 12, 13, 20, 21, 22, -1}).board;
    EXPECT_EQ(ClicksAlong(board, {10, 9, 8, 4}), (std::vector<int>{20, 10}));
}

TEST(SolverTest, LowerBoundCountsDistanceAndConflicts) {
    // Two pairs swapped in their own rows: four moves of distance, two in each row to let
    // one tile pass the other.
    const SlidingBoard swapped = ReadTileIds(2, 3, {1, 0, 2, 11, 10, -1}).board;
    EXPECT_EQ(ManhattanAndConflicts(swapped), 8);
    const SlidingBoard home = ReadTileIds(2, 3, {0, 1, 2, 10, 11, -1}).board;
    EXPECT_EQ(ManhattanAndConflicts(home), 0);
}

TEST(SolverTest, MalformedAndUnsolvableBoardsAreRefused) {
    using enum BoardReading::Verdict;
    struct Case {
        int rows;
        int cols;
        std::vector<int> ids;
        BoardReading::Verdict verdict;
        std::string error;
    };
    const Case cases[] = {
        {2, 2, {0, 1, 10}, Malformed, "a 2x2 board has 4 cells, not 3"},
        {2, 2, {0, 1, 10, -1, -1}, Malformed, "a 2x2 board has 4 cells, not 5"},
        {2, 2, {0, 0, 10, -1}, Malformed, "tile 0 appears twice"},
        {2, 2, {0, -1, 10, -1}, Malformed, "more than one empty cell (-1)"},
        {2, 2, {0, 1, 11, -1}, Malformed, "there is no tile 11 on a 2x2 board"},
        {2, 2, {0, 1, 12, -1}, Malformed, "there is no tile 12 on a 2x2 board"},
        {2, 2, {0, 1, -7, 10}, Malformed, "there is no tile -7 on a 2x2 board"},
        {7, 2, {}, Malformed, "a board has 1 to 6 rows and 1 to 8 columns, not 7x2"},
        {2,
         3,
         {1, 0, 2, 10, 11, -1},
         Unsolvable,
         "this board cannot be solved: it is an odd number of swaps from home"},
        {2, 2, {-1, 0, 10, 1}, Solvable, ""},
    };
    for (const Case& test : cases) {
        const BoardReading reading = ReadTileIds(test.rows, test.cols, test.ids);
        EXPECT_EQ(reading.verdict, test.verdict) << test.error;
        EXPECT_EQ(reading.error, test.error);
    }
}
