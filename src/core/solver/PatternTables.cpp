#include "core/solver/PatternTables.h"

#include <deque>

namespace {

constexpr int kRows = 3;
constexpr int kCols = 4;

int Power(int exponent) {
    int value = 1;
    while (exponent-- > 0) value *= PatternTables::kCells;
    return value;
}

// Breadth first from home over where count tiles and the empty cell stand (the empty cell the
// lowest digit), a move of a pattern tile costing one and any other none; a table entry is
// the least over the empty cell's places.
std::vector<std::uint8_t> MakeTable(int first, int count) {
    const int states = Power(count + 1);
    std::vector<std::uint8_t> distance(states, 0xFF);
    std::vector<std::uint8_t> table(Power(count), 0xFF);
    int start = PatternTables::kCells - 1;
    for (int digit = 0; digit < count; ++digit) start += (first + digit) * Power(digit + 1);
    std::deque<int> queue{start};
    distance[start] = 0;
    int cells[8];
    while (!queue.empty()) {
        const int state = queue.front();
        queue.pop_front();
        const int moves = distance[state];
        if (table[state / PatternTables::kCells] == 0xFF)
            table[state / PatternTables::kCells] = static_cast<std::uint8_t>(moves);
        for (int digit = 0, rest = state; digit <= count; ++digit, rest /= PatternTables::kCells)
            cells[digit] = rest % PatternTables::kCells;
        const int empty = cells[0];
        const int row = empty / kCols;
        const int col = empty % kCols;
        const int steps[4] = {row > 0 ? -kCols : 0, row < kRows - 1 ? kCols : 0, col > 0 ? -1 : 0,
                              col < kCols - 1 ? 1 : 0};
        for (int step : steps) {
            if (step == 0) continue;
            const int to = empty + step;
            int next = state - empty + to;
            int cost = 0;
            for (int digit = 1; digit <= count; ++digit) {
                if (cells[digit] == to) {
                    next += (empty - to) * Power(digit);
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

}  // namespace

int PatternTables::PlaceOf(int digit) { return Power(digit); }

PatternTables::PatternTables()
    : m_tables{MakeTable(0, kPerTable), MakeTable(kPerTable, kPerTable),
               MakeTable(2 * kPerTable, kCells - 1 - 2 * kPerTable)} {}

const PatternTables& PatternTables::Get() {
    static const PatternTables tables;
    return tables;
}

PatternTables::Indexes PatternTables::IndexesOf(const SlidingBoard& board) {
    Indexes indexes{};
    for (int cell = 0; cell < PatternTables::kCells; ++cell) {
        const int table = TableOf(board.home[cell]);
        if (table >= 0) indexes[table] += cell * PlaceOf(DigitOf(board.home[cell]));
    }
    return indexes;
}
