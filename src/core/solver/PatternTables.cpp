#include "core/solver/PatternTables.h"

#include <deque>

// Breadth first from home over where count tiles and the empty cell stand (the empty cell the
// lowest digit), a move of a pattern tile costing one and any other none; a table entry is
// the least over the empty cell's places.
std::vector<std::uint8_t> PatternTables::MakeTable(int first, int count) const {
    const int states = PlaceOf(count + 1);
    std::vector<std::uint8_t> distance(states, 0xFF);
    std::vector<std::uint8_t> table(PlaceOf(count), 0xFF);
    int start = m_cells - 1;
    for (int digit = 0; digit < count; ++digit) start += (first + digit) * PlaceOf(digit + 1);
    std::deque<int> queue{start};
    distance[start] = 0;
    int cells[8];
    while (!queue.empty()) {
        const int state = queue.front();
        queue.pop_front();
        const int moves = distance[state];
        if (table[state / m_cells] == 0xFF)
            table[state / m_cells] = static_cast<std::uint8_t>(moves);
        for (int digit = 0, rest = state; digit <= count; ++digit, rest /= m_cells)
            cells[digit] = rest % m_cells;
        const int empty = cells[0];
        const int row = empty / m_cols;
        const int col = empty % m_cols;
        const int steps[4] = {row > 0 ? -m_cols : 0, row < m_rows - 1 ? m_cols : 0,
                              col > 0 ? -1 : 0, col < m_cols - 1 ? 1 : 0};
        for (int step : steps) {
            if (step == 0) continue;
            const int to = empty + step;
            int next = state - empty + to;
            int cost = 0;
            for (int digit = 1; digit <= count; ++digit) {
                if (cells[digit] == to) {
                    next += (empty - to) * PlaceOf(digit);
                    cost = 1;
                }
            }
            if (distance[next] <= moves + cost) continue;
            distance[next] = static_cast<std::uint8_t>(moves + cost);
            if (cost == 0) {
                queue.push_front(next);
            } else {
                queue.push_back(next);
            }
        }
    }
    return table;
}

int PatternTables::PlaceOf(int digit) const {
    int value = 1;
    while (digit-- > 0) value *= m_cells;
    return value;
}

PatternTables::PatternTables(int rows, int cols)
    : m_rows(rows), m_cols(cols), m_cells(rows * cols), m_perTable(rows * cols == 12 ? 4 : 5) {
    m_tables[0] = MakeTable(0, m_perTable);
    m_tables[1] = MakeTable(m_perTable, m_perTable);
    m_tables[2] = MakeTable(2 * m_perTable, m_cells - 1 - 2 * m_perTable);
}

const PatternTables* PatternTables::For(int rows, int cols) {
    if (rows == 3 && cols == 4) {
        static const PatternTables threeByFour(3, 4);
        return &threeByFour;
    }
    if (rows == 4 && cols == 4) {
        static const PatternTables fourByFour(4, 4);
        return &fourByFour;
    }
    return nullptr;
}

PatternTables::Indexes PatternTables::IndexesOf(const SlidingBoard& board) const {
    Indexes indexes{};
    for (int cell = 0; cell < m_cells; ++cell) {
        const int table = TableOf(board.home[cell]);
        if (table >= 0) indexes[table] += cell * PlaceOf(DigitOf(board.home[cell]));
    }
    return indexes;
}
