#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A board as the solver sees it: each cell holds the index of the cell its tile belongs in,
// row by row; the empty cell belongs in the last cell. Up to 6 x 8 cells.
struct SlidingBoard {
    static constexpr int kMaxRows = 6;
    static constexpr int kMaxCols = 8;
    static constexpr int kMaxCells = kMaxRows * kMaxCols;

    int rows = 0;
    int cols = 0;
    int empty = 0;  // the empty cell's index
    std::array<std::int8_t, kMaxCells> home{};

    int Cells() const { return rows * cols; }
    int EmptyHome() const { return Cells() - 1; }
    // cell must be next to the empty cell: its tile slides into the empty cell.
    void MoveEmptyTo(int cell);
    bool IsSolved() const;
    bool operator==(const SlidingBoard&) const = default;
};

// The cells next to each cell of a rows x cols board, up, down, left, right: where the empty
// cell can go from there. Made once per search, as the searches ask at every node.
class CellNeighbours {
public:
    CellNeighbours(int rows, int cols);
    std::span<const int> Of(int cell) const {
        return {m_cells[cell].data(), static_cast<std::size_t>(m_count[cell])};
    }

private:
    std::array<std::array<int, 4>, SlidingBoard::kMaxCells> m_cells{};
    std::array<int, SlidingBoard::kMaxCells> m_count{};
};

// A board read from tile ids, or why it was refused.
struct BoardReading {
    enum class Verdict { Solvable, Unsolvable, Malformed };
    Verdict verdict = Verdict::Malformed;
    std::string error;  // why it is malformed or unsolvable; empty when solvable
    SlidingBoard board;
};

// rows x cols tile ids (home row * 10 + home column, -1 for the empty cell), row by row, as
// the game's board holds them. Refuses a size outside 1..6 x 1..8, a wrong count, an unknown,
// repeated or missing id, and a board no sequence of slides can solve.
BoardReading ReadTileIds(int rows, int cols, const std::vector<int>& ids);

// The game's id of the tile that belongs in cell home of a board cols wide.
inline int TileIdOf(int home, int cols) { return home / cols * 10 + home % cols; }

// The clicks that move the empty cell along path (each cell next to the one before), one
// clicked tile's id each, a click sliding every tile of a straight run, as the game does.
std::vector<int> ClicksAlong(SlidingBoard board, const std::vector<int>& path);
