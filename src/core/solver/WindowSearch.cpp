#include "core/solver/WindowSearch.h"

#include <algorithm>
#include <optional>

#include "core/solver/LowerBound.h"

namespace {

using Clock = std::chrono::steady_clock;

// Depth-first search under a rising bound from one position to another, the estimate the sum
// of each tile's distance to where the goal has it, kept up to date move by move.
class Window {
public:
    Window(const SlidingBoard& from, const SlidingBoard& to, long nodeLimit)
        : m_board(from), m_neighbours(from.rows, from.cols), m_left(nodeLimit) {
        const int cols = from.cols;
        for (int cell = 0; cell < from.Cells(); ++cell) m_goalCell[to.home[cell]] = cell;
        for (int cell = 0; cell < from.Cells(); ++cell)
            if (from.home[cell] != from.EmptyHome())
                m_estimate += CellDistance(cell, m_goalCell[from.home[cell]], cols);
    }

    // A way of fewer than limit moves, the shortest there is, or nothing when there is none or
    // the node limit ends the search first.
    std::optional<std::vector<int>> Shorter(int limit) {
        for (int bound = m_estimate; bound < limit;) {
            int nextBound = limit;
            if (Search(0, bound, -1, nextBound)) return m_path;
            if (m_left < 0) return std::nullopt;
            bound = nextBound;
        }
        return std::nullopt;
    }

private:
    bool Search(int made, int bound, int previous, int& nextBound) {
        const int total = made + m_estimate;
        if (total > bound) {
            nextBound = std::min(nextBound, total);
            return false;
        }
        // Every tile where the goal has it, so the empty cell too.
        if (m_estimate == 0) return true;
        if (--m_left < 0) return false;
        const int empty = m_board.empty;
        const int cols = m_board.cols;
        for (const int cell : m_neighbours.Of(empty)) {
            if (cell == previous) continue;
            const int goal = m_goalCell[m_board.home[cell]];
            const int change = CellDistance(empty, goal, cols) - CellDistance(cell, goal, cols);
            m_estimate += change;
            m_board.MoveEmptyTo(cell);
            m_path.push_back(cell);
            if (Search(made + 1, bound, empty, nextBound)) return true;
            m_path.pop_back();
            m_board.MoveEmptyTo(empty);
            m_estimate -= change;
            if (m_left < 0) return false;
        }
        return false;
    }

    SlidingBoard m_board;
    CellNeighbours m_neighbours;
    long m_left;
    int m_estimate = 0;
    int m_goalCell[SlidingBoard::kMaxCells]{};
    std::vector<int> m_path;
};

}  // namespace

std::vector<int> WindowsShortened(const SlidingBoard& start, std::vector<int> path,
                                  Clock::time_point deadline) {
    // Longer windows find longer detours, each search capped so that one window cannot take
    // the budget of the others.
    constexpr long kNodesPerWindow = 20000;
    for (int length = 12; length <= 40 && Clock::now() < deadline; length += 4) {
        std::vector<SlidingBoard> boards{start};
        for (int cell : path) {
            boards.push_back(boards.back());
            boards.back().MoveEmptyTo(cell);
        }
        std::vector<int> shorter;
        std::size_t i = 0;
        while (i + length <= path.size() && Clock::now() < deadline) {
            if (auto way = Window(boards[i], boards[i + length], kNodesPerWindow).Shorter(length)) {
                shorter.insert(shorter.end(), way->begin(), way->end());
                i += length;
            } else {
                // Windows overlap, so a detour across two of them is seen by a third.
                const std::size_t step = length / 4;
                shorter.insert(shorter.end(), path.begin() + i, path.begin() + i + step);
                i += step;
            }
        }
        shorter.insert(shorter.end(), path.begin() + i, path.end());
        path = std::move(shorter);
    }
    return path;
}
