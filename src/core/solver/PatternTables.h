#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/solver/SlidingBoard.h"

// Three additive pattern tables of a 3 x 4 board (the tiles that belong in cells 0..3, 4..7 and
// 8..10) or of a 4 x 4 board (0..4, 5..9, 10..14): the least moves of a table's tiles to bring
// them home from wherever they stand, counting only their own moves; the three's sum never
// exceeds the true least. Made at first use of a size (3 x 4: milliseconds, 43 kB; 4 x 4:
// seconds, 3 MB), then shared; safe across threads.
class PatternTables {
public:
    static constexpr int kTables = 3;

    // The tables of a board of that size, or nullptr when there are none.
    static const PatternTables* For(int rows, int cols);

    using Indexes = std::array<int, kTables>;

    // Where a tile belongs: which table and which digit of its index, or -1 for none.
    int TableOf(int home) const { return home < m_cells - 1 ? home / m_perTable : -1; }
    int DigitOf(int home) const { return home % m_perTable; }
    // The place value of a digit: a table's index is the sum of each tile's cell times it.
    int PlaceOf(int digit) const;

    Indexes IndexesOf(const SlidingBoard& board) const;
    int Moves(const Indexes& indexes) const {
        return m_tables[0][indexes[0]] + m_tables[1][indexes[1]] + m_tables[2][indexes[2]];
    }

private:
    PatternTables(int rows, int cols);
    std::vector<std::uint8_t> MakeTable(int first, int count) const;

    int m_rows;
    int m_cols;
    int m_cells;
    int m_perTable;  // tiles; the last table has those left
    std::vector<std::uint8_t> m_tables[kTables];
};
