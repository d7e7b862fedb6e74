#pragma once

#include <array>
#include <cstdint>

#include "core/board/GridSize.h"
#include "core/board/RandomGenerator.h"
#include "core/layout/SkinLayout.h"

// The result of one click on a cell.
struct ClickResult {
    bool counted = false;  // false when out of play or off the empty cell's row and column
    int moved = 0;         // tiles slid by a counted click, 0 included
    bool solved = false;   // the click made the picture whole and ended the game
};

// A grid of up to 6 x 8 cells, each holding a tile id (home row * 10 + home column)
// or kEmptyCell, with the shuffle, the run-sliding click rule and the solved test.
class PuzzleBoard {
public:
    static constexpr int kMaxRows = 6;
    static constexpr int kMaxCols = 8;
    static constexpr int kEmptyCell = -1;
    static constexpr int kShuffleSlides = 2000;
    static constexpr int kAreaWidth = layout::kPictureSize.width;
    static constexpr int kAreaHeight = layout::kPictureSize.height;

    PuzzleBoard() { Reset({.rows = 3, .cols = 4}); }
    virtual ~PuzzleBoard() = default;

    // rows 1..6, cols 1..8: sets the size, ends any game, puts every cell home.
    void Reset(const GridSize& size);
    // Starts a game seeded from the clock (whole seconds since 1970).
    void Shuffle();
    // Starts a game from this seed: the same seed and size give the same board.
    void ShuffleWithSeed(std::uint32_t seed);
    ClickResult ClickCell(int row, int col);
    bool IsSolved() const;

    struct Cell {
        int row;
        int col;
    };
    // The cell under a point of the 400 x 300 drawing area.
    Cell CellAt(int x, int y) const { return {m_rows * y / kAreaHeight, m_cols * x / kAreaWidth}; }

    int Cols() const { return m_cols; }
    int Rows() const { return m_rows; }
    int CellValue(int row, int col) const { return m_cells[row][col]; }
    bool InPlay() const { return m_inPlay; }
    int EmptyRow() const { return m_emptyRow; }
    int EmptyCol() const { return m_emptyCol; }

private:
    void PutEveryCellHome();
    // Slides the tiles between the empty cell and (row, emptyCol) one cell toward
    // the empty cell, which moves to row. Returns the tiles moved.
    int SlideColumnTo(int row);
    int SlideRowTo(int col);

    int m_cols = 4;
    int m_rows = 3;
    std::array<std::array<std::int32_t, kMaxCols>, kMaxRows> m_cells{};
    int m_emptyCol = 0;
    int m_emptyRow = 0;
    bool m_inPlay = false;
    RandomGenerator m_random;
};
