#include "core/solver/BeamSearch.h"

#include <algorithm>
#include <cstdint>

#include "core/solver/LowerBound.h"
#include "core/solver/PositionKeys.h"

namespace {

using Clock = std::chrono::steady_clock;

// The keys of the positions seen, by open addressing: asked for every position made.
class SeenKeys {
public:
    SeenKeys() : m_slots(1 << 16, 0) {}
    // True when key was not there before.
    bool Insert(std::uint64_t key) {
        if (2 * (m_count + 1) > m_slots.size()) Grow();
        return Place(key | 1);  // 0 marks a free slot
    }

private:
    bool Place(std::uint64_t key) {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t at = key & mask;; at = (at + 1) & mask) {
            if (m_slots[at] == key) return false;
            if (m_slots[at] == 0) {
                m_slots[at] = key;
                ++m_count;
                return true;
            }
        }
    }
    void Grow() {
        std::vector<std::uint64_t> old(m_slots.size() * 2, 0);
        old.swap(m_slots);
        m_count = 0;
        for (std::uint64_t key : old)
            if (key != 0) Place(key);
    }

    std::vector<std::uint64_t> m_slots;
    std::size_t m_count = 0;
};

struct Node {
    SlidingBoard board;
    std::uint64_t key;
    int estimate;
    int previous;  // the cell the empty cell came from
};

// Where each position of a layer came from: the index in the layer before, and the cell the
// empty cell entered.
struct Step {
    int parent;
    int cell;
};

// The estimate after the tile at cell slides into the empty cell: its distance, and the
// conflicts of its own row (a slide up or down) or column (left or right) when it enters or
// leaves it; no other line's conflicts change.
int EstimateAfter(const Node& node, int cell, SlidingBoard& scratch) {
    const SlidingBoard& board = node.board;
    const int cols = board.cols;
    const int home = board.home[cell];
    const int distance = CellDistance(board.empty, home, cols) - CellDistance(cell, home, cols);
    const bool vertical = cell / cols != board.empty / cols;
    const int line = vertical ? home / cols : home % cols;
    const int from = vertical ? cell / cols : cell % cols;
    const int to = vertical ? board.empty / cols : board.empty % cols;
    if (line != from && line != to) return node.estimate + distance;
    scratch = board;
    scratch.MoveEmptyTo(cell);
    return node.estimate + distance + LineConflicts(scratch, line, !vertical) -
           LineConflicts(board, line, !vertical);
}

}  // namespace

std::optional<std::vector<int>> BeamPath(const SlidingBoard& start, std::size_t width,
                                         std::size_t limit, Clock::time_point deadline) {
    const PositionKeys& keys = PositionKeys::Get();
    const std::uint64_t key = keys.Of(start);
    std::vector<Node> layer{{start, key, ManhattanAndConflicts(start), -1}};
    std::vector<std::vector<Step>> steps;
    SeenKeys seen;
    seen.Insert(key);
    std::vector<Node> next;
    struct Child {
        std::uint64_t key;
        int estimate;
        int parent;
        int cell;
    };
    std::vector<Child> children;
    SlidingBoard scratch;
    const CellNeighbours neighbours(start.rows, start.cols);
    while (steps.size() < limit) {
        for (std::size_t i = 0; i < layer.size(); ++i) {
            if (layer[i].estimate != 0) continue;
            std::vector<int> path;
            for (int at = static_cast<int>(i), depth = static_cast<int>(steps.size()); depth > 0;
                 --depth) {
                path.push_back(steps[depth - 1][at].cell);
                at = steps[depth - 1][at].parent;
            }
            std::reverse(path.begin(), path.end());
            return path;
        }
        if (layer.empty() || Clock::now() > deadline) return std::nullopt;
        // Children are weighed on a scratch board; only those kept are made.
        children.clear();
        for (std::size_t i = 0; i < layer.size(); ++i) {
            const Node& node = layer[i];
            const int empty = node.board.empty;
            for (const int cell : neighbours.Of(empty)) {
                if (cell == node.previous) continue;
                const int home = node.board.home[cell];
                const std::uint64_t moved = node.key ^ keys.Slide(home, cell, empty);
                if (!seen.Insert(moved)) continue;
                children.push_back(
                    {moved, EstimateAfter(node, cell, scratch), static_cast<int>(i), cell});
            }
        }
        if (children.size() > width) {
            std::nth_element(
                children.begin(), children.begin() + static_cast<long>(width), children.end(),
                [](const Child& a, const Child& b) { return a.estimate < b.estimate; });
            children.resize(width);
        }
        next.clear();
        std::vector<Step> kept;
        for (const Child& child : children) {
            const Node& parent = layer[child.parent];
            next.push_back({parent.board, child.key, child.estimate, parent.board.empty});
            next.back().board.MoveEmptyTo(child.cell);
            kept.push_back({child.parent, child.cell});
        }
        layer.swap(next);
        steps.push_back(std::move(kept));
    }
    return std::nullopt;
}
