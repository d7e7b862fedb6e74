#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <vector>

#include "core/board/GridSize.h"
#include "core/board/PuzzleBoard.h"
#include "core/board/RandomGenerator.h"

namespace {

using Grid = std::vector<std::vector<int>>;

struct Position {
    int row;
    int col;
    bool operator==(const Position&) const = default;
};

// The shuffle written from its rules a second way: the empty cell walks one cell at a
// time toward its target, swapping with each tile it passes, and every place it comes
// to rest is recorded so a test can walk the game back.
struct ReferenceBoard {
    int rows;
    int cols;
    Grid cells;
    Position empty;
    std::vector<Position> restingPlaces;

    ReferenceBoard(int rows_, int cols_) : rows(rows_), cols(cols_), cells(rows_) {
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) cells[r].push_back(r * 10 + c);
        empty = {rows - 1, cols - 1};
        cells[empty.row][empty.col] = -1;
        restingPlaces.push_back(empty);
    }

    void WalkEmptyTo(Position target) {
        while (empty.row != target.row) {
            const int next = empty.row + (target.row > empty.row ? 1 : -1);
            std::swap(cells[empty.row][empty.col], cells[next][empty.col]);
            empty.row = next;
        }
        while (empty.col != target.col) {
            const int next = empty.col + (target.col > empty.col ? 1 : -1);
            std::swap(cells[empty.row][empty.col], cells[empty.row][next]);
            empty.col = next;
        }
        restingPlaces.push_back(empty);
    }

    // One shuffle iteration from its two draws.
    void Slide(unsigned a, unsigned b) {
        if (a % 2 == 1)
            WalkEmptyTo({empty.row, static_cast<int>(b % cols)});
        else
            WalkEmptyTo({static_cast<int>(b % rows), empty.col});
    }
};

ReferenceBoard ReferenceShuffle(int rows, int cols, std::uint32_t seed) {
    std::uint32_t state = seed;
    auto draw = [&state] {
        state = state * 214013u + 2531011u;
        return (state >> 16) & 0x7FFFu;
    };
    ReferenceBoard board(rows, cols);
    for (int i = 0; i < 2000; ++i) {
        const unsigned a = draw();
        board.Slide(a, draw());
    }
    board.WalkEmptyTo({board.empty.row, cols - 1});
    board.WalkEmptyTo({rows - 1, cols - 1});
    return board;
}

Grid CellsOf(const PuzzleBoard& board) {
    Grid cells(board.Rows());
    for (int r = 0; r < board.Rows(); ++r)
        for (int c = 0; c < board.Cols(); ++c) cells[r].push_back(board.CellValue(r, c));
    return cells;
}

bool EveryCellHome(const PuzzleBoard& board) {
    for (int r = 0; r < PuzzleBoard::kMaxRows; ++r)
        for (int c = 0; c < PuzzleBoard::kMaxCols; ++c)
            if (board.CellValue(r, c) != r * 10 + c) return false;
    return true;
}

PuzzleBoard ShuffledBoard(int rows, int cols, std::uint32_t seed) {
    PuzzleBoard board;
    board.Reset({.rows = rows, .cols = cols});
    board.ShuffleWithSeed(seed);
    return board;
}

const std::uint32_t kSeeds[] = {0, 1, 1136073600, 0xFFFFFFFF};

TEST(RandomGeneratorTest, SeedZeroDraws38Then7719Then21238) {
    RandomGenerator random;
    random.Seed(0);
    EXPECT_EQ(random.Next(), 38);
    EXPECT_EQ(random.Next(), 7719);
    EXPECT_EQ(random.Next(), 21238);
}

TEST(PuzzleBoardTest, ReferenceSlideMatchesTheDocumentedFirstIteration) {
    // Odd a and b mod 4 = 1 on 3 x 4: tiles 21 and 22 move right, (2, 1) becomes empty.
    ReferenceBoard board(3, 4);
    board.Slide(1, 5);
    EXPECT_EQ(board.cells, (Grid{{0, 1, 2, 3},  //
                                 {10, 11, 12, 13},
                                 {20, -1, 21, 22}}));
}

TEST(PuzzleBoardTest, ResetPutsAllFortyEightCellsHomeOutOfPlay) {
    PuzzleBoard board = ShuffledBoard(6, 8, 7);
    board.Reset({.rows = 3, .cols = 4});
    EXPECT_EQ(board.Rows(), 3);
    EXPECT_EQ(board.Cols(), 4);
    EXPECT_FALSE(board.InPlay());
    EXPECT_TRUE(EveryCellHome(board));
    EXPECT_TRUE(board.IsSolved());
}

TEST(PuzzleBoardTest, SeedZeroGivesTheGoldenSmallBoard) {
    EXPECT_EQ(CellsOf(ShuffledBoard(3, 4, 0)), (Grid{{3, 1, 13, 11},  //
                                                     {12, 22, 20, 21},
                                                     {2, 10, 0, -1}}));
}

TEST(PuzzleBoardTest, ShuffleFollowsTheSlideRulesOnEverySize) {
    for (const GridSize& size : kGridSizes) {
        for (std::uint32_t seed : kSeeds) {
            SCOPED_TRACE(std::string(size.label) + " seed " + std::to_string(seed));
            const PuzzleBoard board = ShuffledBoard(size.rows, size.cols, seed);
            EXPECT_EQ(CellsOf(board), ReferenceShuffle(size.rows, size.cols, seed).cells);
        }
    }
}

TEST(PuzzleBoardTest, ShuffleEndsInPlayWithBottomRightTileTakenOut) {
    for (const GridSize& size : kGridSizes) {
        for (std::uint32_t seed : kSeeds) {
            SCOPED_TRACE(std::string(size.label) + " seed " + std::to_string(seed));
            const PuzzleBoard board = ShuffledBoard(size.rows, size.cols, seed);
            EXPECT_TRUE(board.InPlay());
            EXPECT_EQ(board.EmptyRow(), size.rows - 1);
            EXPECT_EQ(board.EmptyCol(), size.cols - 1);
            EXPECT_EQ(board.CellValue(size.rows - 1, size.cols - 1), PuzzleBoard::kEmptyCell);

            std::vector<int> ids, expected{PuzzleBoard::kEmptyCell};
            for (int r = 0; r < size.rows; ++r)
                for (int c = 0; c < size.cols; ++c) {
                    ids.push_back(board.CellValue(r, c));
                    if (r != size.rows - 1 || c != size.cols - 1) expected.push_back(r * 10 + c);
                }
            std::sort(ids.begin(), ids.end());
            EXPECT_EQ(ids, expected);
            for (int r = 0; r < PuzzleBoard::kMaxRows; ++r)
                for (int c = 0; c < PuzzleBoard::kMaxCols; ++c)
                    if (r >= size.rows || c >= size.cols) {
                        EXPECT_EQ(board.CellValue(r, c), r * 10 + c);
                    }
        }
    }
}

TEST(PuzzleBoardTest, SameSeedGivesTheSameBoard) {
    PuzzleBoard first = ShuffledBoard(5, 7, 99);
    const Grid expected = CellsOf(first);
    first.ClickCell(4, 0);
    first.ShuffleWithSeed(99);
    EXPECT_EQ(CellsOf(first), expected);
    EXPECT_EQ(CellsOf(ShuffledBoard(5, 7, 99)), expected);
}

TEST(PuzzleBoardTest, ShuffleIsSeededWithTheCurrentSecond) {
    PuzzleBoard board;
    board.Reset({.rows = 6, .cols = 8});
    std::time_t before, after;
    do {
        before = std::time(nullptr);
        board.Shuffle();
        after = std::time(nullptr);
    } while (before != after);
    EXPECT_EQ(CellsOf(board), CellsOf(ShuffledBoard(6, 8, static_cast<std::uint32_t>(before))));
}

TEST(PuzzleBoardTest, ClicksBeforeTheFirstShuffleAreIgnored) {
    PuzzleBoard board;
    for (auto [row, col] : {std::pair{0, 0}, std::pair{2, 3}, std::pair{0, 3}}) {
        const ClickResult result = board.ClickCell(row, col);
        EXPECT_FALSE(result.counted);
        EXPECT_EQ(result.moved, 0);
    }
    EXPECT_TRUE(EveryCellHome(board));
}

TEST(PuzzleBoardTest, ClickOnEmptyCellCountsZeroMoves) {
    PuzzleBoard board = ShuffledBoard(3, 4, 0);
    const Grid before = CellsOf(board);
    const ClickResult result = board.ClickCell(2, 3);
    EXPECT_TRUE(result.counted);
    EXPECT_EQ(result.moved, 0);
    EXPECT_FALSE(result.solved);
    EXPECT_TRUE(board.InPlay());
    EXPECT_EQ(CellsOf(board), before);
}

TEST(PuzzleBoardTest, ClickOffTheEmptyCellsRowAndColumnIsNotCounted) {
    PuzzleBoard board = ShuffledBoard(3, 4, 0);
    const Grid before = CellsOf(board);
    const ClickResult result = board.ClickCell(1, 2);
    EXPECT_FALSE(result.counted);
    EXPECT_EQ(result.moved, 0);
    EXPECT_EQ(CellsOf(board), before);
}

TEST(PuzzleBoardTest, ClickNextToTheEmptyCellMovesOneTile) {
    PuzzleBoard board = ShuffledBoard(3, 4, 0);
    // 3  1 13 11       3  1 13 11
    // 12 22 20 21  ->  12 22 20 21
    // 2  10  0 -1      2  10 -1  0
    const ClickResult result = board.ClickCell(2, 2);
    EXPECT_TRUE(result.counted);
    EXPECT_EQ(result.moved, 1);
    EXPECT_EQ(CellsOf(board), (Grid{{3, 1, 13, 11}, {12, 22, 20, 21}, {2, 10, -1, 0}}));
    EXPECT_EQ(board.EmptyCol(), 2);
}

TEST(PuzzleBoardTest, ClickAtTheFarEndSlidesTheWholeRun) {
    PuzzleBoard board = ShuffledBoard(3, 4, 0);
    const ClickResult across = board.ClickCell(2, 0);  // the whole bottom row moves right
    EXPECT_TRUE(across.counted);
    EXPECT_EQ(across.moved, 3);
    EXPECT_EQ(CellsOf(board), (Grid{{3, 1, 13, 11}, {12, 22, 20, 21}, {-1, 2, 10, 0}}));

    const ClickResult down = board.ClickCell(0, 0);  // the first column moves down
    EXPECT_TRUE(down.counted);
    EXPECT_EQ(down.moved, 2);
    EXPECT_EQ(CellsOf(board), (Grid{{-1, 1, 13, 11}, {3, 22, 20, 21}, {12, 2, 10, 0}}));

    const ClickResult back = board.ClickCell(0, 3);  // the top row moves left
    EXPECT_EQ(back.moved, 3);
    EXPECT_EQ(CellsOf(board), (Grid{{1, 13, 11, -1}, {3, 22, 20, 21}, {12, 2, 10, 0}}));
    EXPECT_EQ(board.ClickCell(2, 3).moved, 2);  // the last column moves up
    EXPECT_EQ(CellsOf(board), (Grid{{1, 13, 11, 21}, {3, 22, 20, 0}, {12, 2, 10, -1}}));
}

TEST(PuzzleBoardTest, WalkingTheShuffleBackSolvesAndEndsTheGame) {
    for (const GridSize& size : kGridSizes) {
        SCOPED_TRACE(size.label);
        PuzzleBoard board = ShuffledBoard(size.rows, size.cols, 2005);
        const ReferenceBoard reference = ReferenceShuffle(size.rows, size.cols, 2005);
        ClickResult last;
        for (std::size_t i = reference.restingPlaces.size() - 1; i-- > 0 && board.InPlay();) {
            const Position target = reference.restingPlaces[i];
            const int distance =
                std::abs(target.row - board.EmptyRow()) + std::abs(target.col - board.EmptyCol());
            last = board.ClickCell(target.row, target.col);
            ASSERT_TRUE(last.counted);
            ASSERT_EQ(last.moved, distance);
            if (board.InPlay()) {
                ASSERT_FALSE(board.IsSolved());
            }
        }
        EXPECT_TRUE(last.solved);
        EXPECT_FALSE(board.InPlay());
        EXPECT_TRUE(board.IsSolved());
        EXPECT_TRUE(EveryCellHome(board));

        const ClickResult afterSolve = board.ClickCell(size.rows - 1, size.cols - 2);
        EXPECT_FALSE(afterSolve.counted);
        EXPECT_TRUE(EveryCellHome(board));
    }
}

TEST(PuzzleBoardTest, IsSolvedOnlyWithEveryTileHomeAndEmptyBottomRight) {
    PuzzleBoard board;
    EXPECT_TRUE(board.IsSolved());
    board.ShuffleWithSeed(0);
    EXPECT_FALSE(board.IsSolved());
}

TEST(PuzzleBoardTest, CellAtMapsTheDrawingAreaOntoTheGrid) {
    PuzzleBoard board;
    board.Reset({.rows = 3, .cols = 4});
    auto cellAt = [&board](int x, int y) {
        const PuzzleBoard::Cell cell = board.CellAt(x, y);
        return std::pair{cell.row, cell.col};
    };
    EXPECT_EQ(cellAt(0, 0), (std::pair{0, 0}));
    EXPECT_EQ(cellAt(99, 99), (std::pair{0, 0}));
    EXPECT_EQ(cellAt(100, 100), (std::pair{1, 1}));
    EXPECT_EQ(cellAt(399, 299), (std::pair{2, 3}));
    board.Reset({.rows = 5, .cols = 7});
    EXPECT_EQ(cellAt(57, 59), (std::pair{0, 0}));
    EXPECT_EQ(cellAt(58, 60), (std::pair{1, 1}));
    EXPECT_EQ(cellAt(399, 299), (std::pair{4, 6}));
    board.Reset({.rows = 6, .cols = 8});
    EXPECT_EQ(cellAt(49, 49), (std::pair{0, 0}));
    EXPECT_EQ(cellAt(50, 50), (std::pair{1, 1}));
    EXPECT_EQ(cellAt(399, 299), (std::pair{5, 7}));
}

}  // namespace
