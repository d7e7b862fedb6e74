#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/solver/SlidingBoard.h"

// Three additive pattern tables of the 3 x 4 board: the least moves of the tiles that belong
// in cells 0..3, of those of cells 4..7 and of those of 8..10 to bring them home from wherever
// they stand, counting only their own moves; their sum never exceeds the true least. Made at
// first use (milliseconds, 43 kB), then shared; safe across threads.
class PatternTables {
public:
    static constexpr int kCells = 12;
    static constexpr int kTables = 3;
    static constexpr int kPerTable = 4;  // tiles; the last table has the three left

    static const PatternTables& Get();

    using Indexes = std::array<int, kTables>;

    // Where a tile belongs: which table and which digit of its index, or -1 for none.
    static int TableOf(int home) { return home < kCells - 1 ? home / kPerTable : -1; }
    static int DigitOf(int home) { return home % kPerTable; }
    // The place value of a digit: a table's index is the sum of each tile's cell times it.
    static int PlaceOf(int digit);

    static Indexes IndexesOf(const SlidingBoard& board);
    int Moves(const Indexes& indexes) const {
        return m_tables[0][indexes[0]] + m_tables[1][indexes[1]] + m_tables[2][indexes[2]];
    }

private:
    PatternTables();
    std::vector<std::uint8_t> m_tables[kTables];
};
