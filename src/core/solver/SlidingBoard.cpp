#include "core/solver/SlidingBoard.h"

#include <cstdlib>

#include "core/text/Translation.h"

void SlidingBoard::MoveEmptyTo(int cell) {
    home[empty] = home[cell];
    home[cell] = static_cast<std::int8_t>(EmptyHome());
    empty = cell;
}

CellNeighbours::CellNeighbours(int rows, int cols) {
    for (int cell = 0; cell < rows * cols; ++cell) {
        const int row = cell / cols;
        const int col = cell % cols;
        int& count = m_count[cell];
        if (row > 0) m_cells[cell][count++] = cell - cols;
        if (row < rows - 1) m_cells[cell][count++] = cell + cols;
        if (col > 0) m_cells[cell][count++] = cell - 1;
        if (col < cols - 1) m_cells[cell][count++] = cell + 1;
    }
}

bool SlidingBoard::IsSolved() const {
    for (int cell = 0; cell < Cells(); ++cell)
        if (home[cell] != cell) return false;
    return true;
}

namespace {

BoardReading Refuse(BoardReading::Verdict verdict, std::string why) {
    BoardReading reading;
    reading.verdict = verdict;
    reading.error = std::move(why);
    return reading;
}

// A slide swaps the empty cell with a tile, so it changes the permutation's parity and the
// empty cell's distance from home by one each: a board is solvable when the two agree.
bool ParityAllowsSolving(const SlidingBoard& board) {
    int inversions = 0;
    for (int a = 0; a < board.Cells(); ++a)
        for (int b = a + 1; b < board.Cells(); ++b) inversions += board.home[a] > board.home[b];
    const int last = board.EmptyHome();
    const int emptyDistance = std::abs(board.empty / board.cols - last / board.cols) +
                              std::abs(board.empty % board.cols - last % board.cols);
    return inversions % 2 == emptyDistance % 2;
}

}  // namespace

BoardReading ReadTileIds(int rows, int cols, const std::vector<int>& ids) {
    using enum BoardReading::Verdict;
    const std::string size = std::to_string(rows) + "x" + std::to_string(cols);
    if (rows < 1 || rows > SlidingBoard::kMaxRows || cols < 1 || cols > SlidingBoard::kMaxCols)
        return Refuse(Malformed,
                      Substitute(Tr("a board has 1 to 6 rows and 1 to 8 columns, not %1"), {size}));
    SlidingBoard board{.rows = rows, .cols = cols};
    if (static_cast<int>(ids.size()) != board.Cells()) {
        const auto cells = static_cast<unsigned long>(board.Cells());
        // TRANSLATORS: %1 is a board size as ROWSxCOLS, %2 its number of cells, %3 the
        // number of cells given.
        return Refuse(Malformed,
                      Substitute(TrN("a %1 board has %2 cell, not %3",
                                     "a %1 board has %2 cells, not %3", cells),
                                 {size, std::to_string(cells), std::to_string(ids.size())}));
    }
    std::array<bool, SlidingBoard::kMaxCells> seen{};
    for (int cell = 0; cell < board.Cells(); ++cell) {
        const int id = ids[cell];
        int home = board.EmptyHome();
        if (id != -1) {
            home = id / 10 * cols + id % 10;
            if (id < 0 || id / 10 >= rows || id % 10 >= cols || home == board.EmptyHome())
                // TRANSLATORS: %1 is a tile id, %2 a board size as ROWSxCOLS.
                return Refuse(Malformed, Substitute(Tr("there is no tile %1 on a %2 board"),
                                                    {std::to_string(id), size}));
        }
        if (seen[home])
            return Refuse(Malformed,
                          id == -1 ? std::string(Tr("more than one empty cell (-1)"))
                                   : Substitute(Tr("tile %1 appears twice"), {std::to_string(id)}));
        seen[home] = true;
        board.home[cell] = static_cast<std::int8_t>(home);
        if (id == -1) board.empty = cell;
    }
    // With the count right and nothing repeated, every tile and the empty cell are there.
    if (!ParityAllowsSolving(board))
        return Refuse(Unsolvable,
                      Tr("this board cannot be solved: it is an odd number of swaps from home"));
    return {.verdict = Solvable, .error = {}, .board = board};
}

std::vector<int> ClicksAlong(SlidingBoard board, const std::vector<int>& path) {
    std::vector<int> clicks;
    for (std::size_t i = 0; i < path.size();) {
        const int step = path[i] - board.empty;
        std::size_t end = i + 1;
        while (end < path.size() && path[end] - path[end - 1] == step) ++end;
        clicks.push_back(TileIdOf(board.home[path[end - 1]], board.cols));
        for (; i < end; ++i) board.MoveEmptyTo(path[i]);
    }
    return clicks;
}
