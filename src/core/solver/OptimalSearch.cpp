#include "core/solver/OptimalSearch.h"

#include <algorithm>
#include <climits>

#include "core/solver/LowerBound.h"
#include "core/solver/PatternTables.h"

namespace {

// Depth-first search under a rising bound on moves made plus moves still needed, the
// estimate kept up to date move by move: a slide changes one tile's distance and the
// conflicts of the two lines it leaves and enters only, or one digit of a pattern table's
// index on the boards with pattern tables (3 x 4, 4 x 4), whose far closer estimate is used
// instead.
class IterativeDeepening {
public:
    IterativeDeepening(const SlidingBoard& board,
                       std::optional<std::chrono::steady_clock::time_point> deadline)
        : m_board(board), m_neighbours(board.rows, board.cols), m_deadline(deadline) {
        for (int row = 0; row < board.rows; ++row) m_rowConflicts[row] = Row(row);
        for (int col = 0; col < board.cols; ++col) m_colConflicts[col] = Column(col);
        m_estimate = ManhattanAndConflicts(board);
        m_tables = PatternTables::For(board.rows, board.cols);
        if (m_tables) {
            m_indexes = m_tables->IndexesOf(board);
            m_estimate = m_tables->Moves(m_indexes);
        }
    }

    std::optional<std::vector<int>> Run() {
        for (int bound = m_estimate;;) {
            int nextBound = INT_MAX;
            if (Search(0, bound, -1, nextBound)) return m_path;
            if (m_late) return std::nullopt;
            bound = nextBound;
        }
    }

private:
    int Row(int row) const { return LineConflicts(m_board, row, false); }
    int Column(int col) const { return LineConflicts(m_board, col, true); }

    bool Search(int made, int bound, int previous, int& nextBound) {
        if ((++m_seen & 4095) == 0 && m_deadline && std::chrono::steady_clock::now() > *m_deadline)
            m_late = true;
        if (m_late) return false;
        const int total = made + m_estimate;
        if (total > bound) {
            nextBound = std::min(nextBound, total);
            return false;
        }
        if (m_estimate == 0) return true;
        const int from = m_board.empty;
        for (const int to : m_neighbours.Of(from)) {
            if (to == previous) continue;
            const int saved = m_estimate;
            Slide(to);
            m_path.push_back(to);
            if (Search(made + 1, bound, from, nextBound)) return true;
            m_path.pop_back();
            Slide(from);
            m_estimate = saved;
        }
        return false;
    }

    // The tile at cell slides into the empty cell; the estimate follows.
    void Slide(int cell) {
        const int cols = m_board.cols;
        const int tile = m_board.home[cell];
        const int target = m_board.empty;
        if (m_tables) {
            m_board.MoveEmptyTo(cell);
            const int table = m_tables->TableOf(tile);
            if (table < 0) return;
            m_indexes[table] += (target - cell) * m_tables->PlaceOf(m_tables->DigitOf(tile));
            m_estimate = m_tables->Moves(m_indexes);
            return;
        }
        m_estimate += CellDistance(target, tile, cols) - CellDistance(cell, tile, cols);
        m_board.MoveEmptyTo(cell);
        if (cell / cols == target / cols) {
            for (int col : {cell % cols, target % cols}) {
                const int conflicts = Column(col);
                m_estimate += conflicts - m_colConflicts[col];
                m_colConflicts[col] = conflicts;
            }
        } else {
            for (int row : {cell / cols, target / cols}) {
                const int conflicts = Row(row);
                m_estimate += conflicts - m_rowConflicts[row];
                m_rowConflicts[row] = conflicts;
            }
        }
    }

    SlidingBoard m_board;
    CellNeighbours m_neighbours;
    const PatternTables* m_tables = nullptr;
    PatternTables::Indexes m_indexes{};
    int m_estimate = 0;
    int m_rowConflicts[SlidingBoard::kMaxRows]{};
    int m_colConflicts[SlidingBoard::kMaxCols]{};
    std::vector<int> m_path;
    std::uint64_t m_seen = 0;
    std::optional<std::chrono::steady_clock::time_point> m_deadline;
    bool m_late = false;
};

}  // namespace

std::vector<int> ShortestPath(const SlidingBoard& board) {
    return *IterativeDeepening(board, std::nullopt).Run();
}

std::optional<std::vector<int>> ShortestPathBefore(const SlidingBoard& board,
                                                   std::chrono::steady_clock::time_point deadline) {
    return IterativeDeepening(board, deadline).Run();
}
