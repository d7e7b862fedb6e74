// Any bytes as Score.dat: the reader never crashes or over-reads and reports damage as a
// FileError; whatever rows it read are stored in a form that loads back the same, and a
// stored game lands behind them, as when a finished game is stored.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include "core/io/FileError.h"
#include "core/scores/Archive.h"
#include "core/scores/ScoreTable.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "score reader: %s\n", what);
    std::abort();
}

bool SameRows(const ScoreTable& a, const ScoreTable& b) {
    if (a.GetCount() != b.GetCount()) return false;
    for (std::size_t row = 0; row < a.GetCount(); ++row) {
        if (!(a.GetAt(row) == b.GetAt(row))) return false;
    }
    return true;
}

std::vector<std::uint8_t> Stored(ScoreTable& table) {
    Archive storing("Score.dat");
    table.Serialize(storing);
    return storing.Stored();
}

ScoreTable Loaded(const std::vector<std::uint8_t>& bytes) {
    ScoreTable table;
    Archive loading(bytes, "Score.dat");
    try {
        table.Serialize(loading);
    } catch (const FileError&) {
        Fail("stored rows do not load back");
    }
    return table;
}

// Ranking picks only the rows of its picture and size, each once.
void ExpectRankingSelects(const ScoreTable& table, const ScoreRecord& pick) {
    std::size_t matching = 0;
    for (std::size_t row = 0; row < table.GetCount(); ++row) {
        const ScoreRecord record = table.GetAt(row);
        matching += record.pictureName == pick.pictureName && record.gridIndex == pick.gridIndex;
    }
    for (SortBy by : {SortBy::Step, SortBy::Time}) {
        const ScoreTable ranked = table.RankRows(pick.pictureName, pick.gridIndex, by);
        if (ranked.GetCount() != matching) Fail("ranking lost or added rows");
        for (std::size_t row = 0; row < ranked.GetCount(); ++row) {
            const ScoreRecord record = ranked.GetAt(row);
            if (record.pictureName != pick.pictureName || record.gridIndex != pick.gridIndex)
                Fail("ranking picked a row of another picture or size");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScoreTable table;
    Archive loading(std::span<const std::uint8_t>(data, size), "Score.dat");
    try {
        table.Serialize(loading);
    } catch (const FileError& error) {
        if (error.Path() != "Score.dat") Fail("the error names another file");
    }

    std::vector<std::uint8_t> stored = Stored(table);
    ScoreTable reloaded = Loaded(stored);
    if (!SameRows(reloaded, table)) Fail("stored rows load back different");
    if (Stored(reloaded) != stored) Fail("storing is not stable");

    const ScoreRecord game{3, "Beach.jpg", "ann", 57, 83, "2026.12.07"};
    table.Append(game);
    const ScoreTable grown = Loaded(Stored(table));
    if (grown.GetCount() != reloaded.GetCount() + 1 || !(grown.GetAt(grown.GetCount() - 1) == game))
        Fail("a stored game is not behind the rows read");

    if (reloaded.GetCount() > 0) ExpectRankingSelects(reloaded, reloaded.GetAt(0));
    return 0;
}
