// corvalin-dat solve: a solution of a board given by its cells or by New Game's seed.
#include <charconv>
#include <cstdint>
#include <iostream>
#include <optional>

#include "Commands.h"
#include "core/board/PuzzleBoard.h"
#include "core/solver/Solver.h"
#include "core/text/Translation.h"

namespace {

// The whole of text as a number in [low, high], or nothing.
std::optional<long long> NumberIn(const std::string& text, long long low, long long high) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < low || value > high) return std::nullopt;
    return value;
}

int Malformed(const std::string& what) {
    std::cerr << "corvalin-dat: solve: " << what << '\n';
    return kUsage;
}

}  // namespace

int SolveBoard(const Arguments& args) {
    if (args.size() < 2) return UsageError();
    const std::size_t x = args[0].find('x');
    const auto rows = NumberIn(args[0].substr(0, x), 1, SlidingBoard::kMaxRows);
    const auto cols = x == std::string::npos ? std::nullopt : NumberIn(args[0].substr(x + 1), 1, 8);
    if (!rows || !cols)
        return Malformed(Substitute(
            Tr("the size is ROWSxCOLS, 1 to 6 rows and 1 to 8 columns, not %1"), {args[0]}));
    const int rowCount = static_cast<int>(*rows);
    const int colCount = static_cast<int>(*cols);
    std::vector<int> cells;
    if (args[1] == "--seed") {
        const auto seed = args.size() == 3 ? NumberIn(args[2], 0, UINT32_MAX) : std::nullopt;
        if (!seed) return Malformed(Tr("--seed takes one number, 0 to 4294967295"));
        PuzzleBoard board;
        board.Reset({.rows = rowCount, .cols = colCount});
        board.ShuffleWithSeed(static_cast<std::uint32_t>(*seed));
        for (int row = 0; row < board.Rows(); ++row)
            for (int col = 0; col < board.Cols(); ++col) cells.push_back(board.CellValue(row, col));
    } else {
        for (std::size_t i = 1; i < args.size(); ++i) {
            const auto cell = NumberIn(args[i], -1, 99);
            if (!cell)
                return Malformed(
                    Substitute(Tr("a cell is a tile id (0 to 99) or -1, not %1"), {args[i]}));
            cells.push_back(static_cast<int>(*cell));
        }
    }
    const BoardReading reading = ReadTileIds(rowCount, colCount, cells);
    if (reading.verdict == BoardReading::Verdict::Malformed) return Malformed(reading.error);
    if (reading.verdict == BoardReading::Verdict::Unsolvable) {
        std::cerr << "corvalin-dat: solve: " << reading.error << '\n';
        return kFailure;
    }
    const Solution solution = Solve(reading.board, kHintBudget);
    for (int tile : solution.clicks) std::cout << tile << '\n';
    std::cout << solution.moves << " moves\n";
    return kSuccess;
}
