#include "core/solver/PathShortening.h"

#include <algorithm>
#include <cstdint>

#include "core/solver/PositionKeys.h"

namespace {

using Clock = std::chrono::steady_clock;

// The positions along a path, found by key: open addressing, as a pass asks it millions of
// times and almost always for a position the path does not have.
class PathPositions {
public:
    explicit PathPositions(const std::vector<std::uint64_t>& keys) {
        std::size_t size = 16;
        while (size < 2 * keys.size()) size *= 2;
        m_slots.assign(size, {0, -1});
        for (std::size_t i = 0; i < keys.size(); ++i) {
            std::size_t at = keys[i] & (size - 1);
            while (m_slots[at].index >= 0 && m_slots[at].key != keys[i]) at = (at + 1) & (size - 1);
            m_slots[at] = {keys[i], static_cast<int>(i)};  // the latest of equal positions
        }
    }
    // The index of the latest position with key, or -1.
    int Find(std::uint64_t key) const {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t at = key & mask; m_slots[at].index >= 0; at = (at + 1) & mask)
            if (m_slots[at].key == key) return m_slots[at].index;
        return -1;
    }

private:
    struct Slot {
        std::uint64_t key;
        int index;
    };
    std::vector<Slot> m_slots;
};

// One pass at one depth: the path with the best shortcut from each position taken.
class Pass {
public:
    Pass(const SlidingBoard& start, const std::vector<int>& path, int depth)
        : m_path(path), m_depth(depth), m_neighbours(start.rows, start.cols) {
        SlidingBoard board = start;
        m_boards.push_back(board);
        m_keys.push_back(PositionKeys::Get().Of(board));
        for (int cell : path) {
            m_keys.push_back(m_keys.back() ^
                             PositionKeys::Get().Slide(board.home[cell], cell, board.empty));
            board.MoveEmptyTo(cell);
            m_boards.push_back(board);
        }
        m_positions = PathPositions(m_keys);
    }

    // The shortcuts taken before the deadline, the rest of the path as it was.
    std::vector<int> Run(Clock::time_point deadline) {
        std::vector<int> shorter;
        for (std::size_t i = 0; i < m_path.size();) {
            if (Clock::now() > deadline) {
                shorter.insert(shorter.end(), m_path.begin() + static_cast<long>(i), m_path.end());
                return shorter;
            }
            m_board = m_boards[i];
            m_from = static_cast<int>(i);
            m_bestTo = m_from;
            m_bestGain = 0;
            // A shortcut is shorter than what is left of the path.
            m_limit = std::min(m_depth, static_cast<int>(m_path.size() - i) - 1);
            m_moves.clear();
            Search(m_keys[i], -1);
            if (m_bestGain > 0) {
                shorter.insert(shorter.end(), m_bestMoves.begin(), m_bestMoves.end());
                i = static_cast<std::size_t>(m_bestTo);
            } else {
                shorter.push_back(m_path[i++]);
            }
        }
        return shorter;
    }

private:
    void Search(std::uint64_t key, int previous) {
        const int made = static_cast<int>(m_moves.size());
        if (made > 0) {
            const int to = m_positions.Find(key);
            if (to > m_from && to - m_from - made > m_bestGain && m_board == m_boards[to]) {
                m_bestGain = to - m_from - made;
                m_bestTo = to;
                m_bestMoves = m_moves;
            }
        }
        if (made >= m_limit) return;
        const int empty = m_board.empty;
        for (const int cell : m_neighbours.Of(empty)) {
            if (cell == previous) continue;
            const std::uint64_t change = PositionKeys::Get().Slide(m_board.home[cell], cell, empty);
            m_board.MoveEmptyTo(cell);
            m_moves.push_back(cell);
            Search(key ^ change, empty);
            m_moves.pop_back();
            m_board.MoveEmptyTo(empty);
        }
    }

    const std::vector<int>& m_path;
    const int m_depth;
    const CellNeighbours m_neighbours;
    std::vector<SlidingBoard> m_boards;
    std::vector<std::uint64_t> m_keys;
    PathPositions m_positions{{}};
    SlidingBoard m_board;
    int m_limit = 0;
    int m_from = 0;
    int m_bestTo = 0;
    int m_bestGain = 0;
    std::vector<int> m_moves;
    std::vector<int> m_bestMoves;
};

}  // namespace

std::vector<int> Shortened(const SlidingBoard& start, std::vector<int> path,
                           Clock::time_point deadline) {
    // Deeper searches find longer detours but cost about three times more a move.
    for (int depth = 4; depth <= 16 && Clock::now() < deadline; depth += 2)
        path = Pass(start, path, depth).Run(deadline);
    return path;
}
