#include "core/solver/StagedSearch.h"

#include <algorithm>
#include <cstdint>
#include <queue>
#include <string>
#include <unordered_map>

#include "core/solver/LowerBound.h"
#include "core/solver/OptimalSearch.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kStageLimit = 4000;  // positions a stage looks at before it gets greedier

// The part of the board still to solve: rows top.., columns left..; the rest is home.
struct Part {
    int top = 0;
    int left = 0;
};

// One stage: puts the tiles `homes` home, moving the empty cell inside the part only and
// treating every other tile as alike. A position is where those tiles and the empty cell
// stand, six bits each.
class Stage {
public:
    Stage(const SlidingBoard& board, Part part, const std::vector<int>& homes, bool row)
        : m_board(board), m_part(part), m_homes(homes), m_row(row) {}

    // The empty cell's path, or nothing when the deadline passed or limit positions were seen.
    std::optional<std::vector<int>> Search(int weightTenths, std::size_t limit,
                                           std::optional<Clock::time_point> deadline) {
        const int count = static_cast<int>(m_homes.size());
        std::uint64_t start = static_cast<std::uint64_t>(m_board.empty) << (6 * count);
        for (int i = 0; i < count; ++i) {
            const auto at =
                std::find(m_board.home.begin(), m_board.home.begin() + m_board.Cells(), m_homes[i]);
            start |= static_cast<std::uint64_t>(at - m_board.home.begin()) << (6 * i);
        }
        struct Node {
            std::uint64_t key;
            int parent;
            int made;
        };
        struct Open {
            int score;
            int made;
            int node;
            bool operator<(const Open& other) const {
                return score != other.score ? score > other.score : made < other.made;
            }
        };
        std::vector<Node> nodes{{start, -1, 0}};
        std::unordered_map<std::uint64_t, int> made{{start, 0}};
        std::priority_queue<Open> open;
        open.push({weightTenths * Estimate(start), 0, 0});
        while (!open.empty()) {
            const Open best = open.top();
            open.pop();
            const Node node = nodes[best.node];
            if (made[node.key] < node.made) continue;
            if (Estimate(node.key) == 0) return PathTo(nodes, best.node);
            if (nodes.size() > limit) return std::nullopt;
            if ((nodes.size() & 1023) == 0 && deadline && Clock::now() > *deadline)
                return std::nullopt;
            const int empty = static_cast<int>((node.key >> (6 * count)) & 63);
            for (int next : Neighbours(empty)) {
                std::uint64_t key = node.key;
                for (int i = 0; i < count; ++i) {
                    if (static_cast<int>((key >> (6 * i)) & 63) == next) {
                        key &= ~(std::uint64_t{63} << (6 * i));
                        key |= static_cast<std::uint64_t>(empty) << (6 * i);
                    }
                }
                key &= ~(std::uint64_t{63} << (6 * count));
                key |= static_cast<std::uint64_t>(next) << (6 * count);
                const auto [seen, fresh] = made.try_emplace(key, node.made + 1);
                if (!fresh) {
                    if (seen->second <= node.made + 1) continue;
                    seen->second = node.made + 1;
                }
                nodes.push_back({key, best.node, node.made + 1});
                open.push({10 * (node.made + 1) + weightTenths * Estimate(key), node.made + 1,
                           static_cast<int>(nodes.size()) - 1});
            }
        }
        return std::nullopt;
    }

private:
    // Distances home, the conflicts along the line being made, and the walk of the empty
    // cell to the nearest tile still away.
    int Estimate(std::uint64_t key) const {
        const int count = static_cast<int>(m_homes.size());
        const int cols = m_board.cols;
        const int empty = static_cast<int>((key >> (6 * count)) & 63);
        int distance = 0;
        int walk = 64;
        std::pair<int, int> inLine[SlidingBoard::kMaxCells];
        int lined = 0;
        for (int i = 0; i < count; ++i) {
            const int at = static_cast<int>((key >> (6 * i)) & 63);
            const int away = CellDistance(at, m_homes[i], cols);
            distance += away;
            if (away > 0) walk = std::min(walk, CellDistance(at, empty, cols) - 1);
            const bool onLine =
                m_row ? at / cols == m_homes[i] / cols : at % cols == m_homes[i] % cols;
            if (onLine) inLine[lined++] = {m_row ? at % cols : at / cols, i};
        }
        if (distance == 0) return 0;
        std::sort(inLine, inLine + lined);
        int longest[SlidingBoard::kMaxCells];
        int ordered = 0;
        for (int a = 0; a < lined; ++a) {
            longest[a] = 1;
            for (int b = 0; b < a; ++b)
                if (m_homes[inLine[b].second] < m_homes[inLine[a].second])
                    longest[a] = std::max(longest[a], longest[b] + 1);
            ordered = std::max(ordered, longest[a]);
        }
        return distance + 2 * (lined - ordered) + walk;
    }

    std::vector<int> Neighbours(int cell) const {
        const int cols = m_board.cols;
        const int row = cell / cols;
        const int col = cell % cols;
        std::vector<int> next;
        if (row > m_part.top) next.push_back(cell - cols);
        if (row < m_board.rows - 1) next.push_back(cell + cols);
        if (col > m_part.left) next.push_back(cell - 1);
        if (col < cols - 1) next.push_back(cell + 1);
        return next;
    }

    std::vector<int> PathTo(const auto& nodes, int node) const {
        const int count = static_cast<int>(m_homes.size());
        std::vector<int> path;
        for (; nodes[node].parent >= 0; node = nodes[node].parent)
            path.push_back(static_cast<int>((nodes[node].key >> (6 * count)) & 63));
        std::reverse(path.begin(), path.end());
        return path;
    }

    const SlidingBoard& m_board;
    Part m_part;
    std::vector<int> m_homes;
    bool m_row;
};

// The part left, as a board of its own, solved by the shortest path; nothing when the
// deadline passes first.
std::optional<std::vector<int>> SolveSmallPart(const SlidingBoard& board, Part part,
                                               std::optional<Clock::time_point> deadline) {
    SlidingBoard small{.rows = board.rows - part.top, .cols = board.cols - part.left};
    auto toSmall = [&](int cell) {
        return (cell / board.cols - part.top) * small.cols + cell % board.cols - part.left;
    };
    for (int row = part.top; row < board.rows; ++row) {
        for (int col = part.left; col < board.cols; ++col) {
            const int cell = row * board.cols + col;
            small.home[toSmall(cell)] = static_cast<std::int8_t>(toSmall(board.home[cell]));
        }
    }
    small.empty = toSmall(board.empty);
    std::optional<std::vector<int>> path =
        deadline ? ShortestPathBefore(small, *deadline) : ShortestPath(small);
    if (!path) return std::nullopt;
    for (int& cell : *path)
        cell = (cell / small.cols + part.top) * board.cols + cell % small.cols + part.left;
    return path;
}

}  // namespace

std::optional<std::vector<int>> StagedPath(const SlidingBoard& start, const StagePlan& plan,
                                           std::optional<Clock::time_point> deadline) {
    SlidingBoard board = start;
    Part part;
    std::vector<int> path;
    auto follow = [&](const std::vector<int>& moves) {
        for (int cell : moves) board.MoveEmptyTo(cell);
        path.insert(path.end(), moves.begin(), moves.end());
    };
    for (;;) {
        const int height = board.rows - part.top;
        const int width = board.cols - part.left;
        if (height * width <= plan.smallEnough || height < 2 || width < 2) break;
        // A part two cells high cannot lose a row (the last row needs the one above to turn),
        // nor one two cells wide a column.
        const bool row =
            width == 2 ||
            (height > 2 && (height > width || (height == width && plan.rowFirstWhenSquare)));
        std::vector<int> line;
        for (int i = 0; i < (row ? width : height); ++i)
            line.push_back(row ? part.top * board.cols + part.left + i
                               : (part.top + i) * board.cols + part.left);
        for (std::size_t placed = 0; placed < line.size();) {
            // A stage may be too small for its search to look at the clock.
            if (deadline && Clock::now() > *deadline) return std::nullopt;
            placed = std::min(line.size(), placed + plan.group);
            const std::vector<int> homes(line.begin(), line.begin() + placed);
            Stage stage(board, part, homes, row);
            std::optional<std::vector<int>> moves;
            // Greedier each time a stage looks too far; greedy enough always ends.
            for (int weight = plan.weightTenths; !moves; weight += 10) {
                moves = stage.Search(weight, weight > 100 ? SIZE_MAX : kStageLimit, deadline);
                if (!moves && deadline && Clock::now() > *deadline) return std::nullopt;
            }
            follow(*moves);
        }
        (row ? part.top : part.left) += 1;
    }
    const std::optional<std::vector<int>> last = SolveSmallPart(board, part, deadline);
    if (!last) return std::nullopt;
    follow(*last);
    return WithoutRoundTrips(start, path);
}

std::vector<int> WithoutRoundTrips(const SlidingBoard& start, const std::vector<int>& path) {
    SlidingBoard board = start;
    auto positionOf = [&] {
        return std::string(board.home.begin(), board.home.begin() + board.Cells());
    };
    std::unordered_map<std::string, std::size_t> reached{{positionOf(), 0}};
    std::vector<std::string> positions{positionOf()};
    std::vector<int> kept;
    for (int cell : path) {
        board.MoveEmptyTo(cell);
        const std::string position = positionOf();
        const auto earlier = reached.find(position);
        if (earlier == reached.end()) {
            kept.push_back(cell);
            positions.push_back(position);
            reached.emplace(position, kept.size());
            continue;
        }
        while (kept.size() > earlier->second) {
            reached.erase(positions.back());
            positions.pop_back();
            kept.pop_back();
        }
    }
    return kept;
}
