// Loading Score.dat and ranking one picture and size, the work the score panel does each time it
// is shown, from 125,000 to 1,000,000 rows of which a tenth are selected.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

#include "BenchmarkFiles.h"
#include "core/scores/ScoreFile.h"
#include "core/scores/ScoreTable.h"

namespace {

constexpr char kSelectedPicture[] = "Harbour.jpg";
constexpr std::uint32_t kSelectedSize = 0;
const char* const kOtherPictures[] = {"Meadow.jpg", "Reef.jpg",    "Skyline.jpg", "Cosmos.jpg",
                                      "Mosaic.jpg", "Numbers.jpg", "Balloons.jpg"};
const char* const kPlayers[] = {"Ann",  "Bartholomew", "Chen",      "Dagmar Lindqvist",
                                "Eve",  "Farid",       "Gwendolyn", "Hiro",
                                "Ines", "Jo"};

// Every tenth row is the selected picture at the selected size; the others spread over the
// remaining pictures and all sizes. Moves, seconds, players and dates vary as in real play.
ScoreTable MakeTable(std::int64_t rows) {
    ScoreTable table;
    std::uint32_t state = 2024;
    auto next = [&state] { return state = state * 1664525u + 1013904223u, state >> 8; };
    for (std::int64_t row = 0; row < rows; ++row) {
        ScoreRecord record;
        const bool selected = row % 10 == 0;
        record.gridIndex = selected ? kSelectedSize : next() % 6;
        record.pictureName = selected ? kSelectedPicture : kOtherPictures[next() % 7];
        record.userName = kPlayers[next() % 10];
        record.steps = 20 + next() % 980;  // the counters stop at 999
        record.seconds = 10 + next() % 990;
        char date[16];
        std::snprintf(date, sizeof date, "%u.%02u.%02u", 2019 + next() % 6, 1 + next() % 12,
                      1 + next() % 28);
        record.createdOn = date;
        table.Append(record);
    }
    return table;
}

const std::string& ScoreFileOf(std::int64_t rows) {
    static std::map<std::int64_t, bench::TemporaryFile> files;
    auto found = files.find(rows);
    if (found == files.end()) {
        bench::TemporaryFile file("corvalin-bench-score-");
        ScoreTable table = MakeTable(rows);
        StoreScoreFile(file.Path(), table);
        found = files.emplace(rows, std::move(file)).first;
    }
    return found->second.Path();
}

void BM_LoadScoresAndRankOnePicture(benchmark::State& state) {
    const std::string& path = ScoreFileOf(state.range(0));
    std::size_t ranked = 0;
    for (auto _ : state) {
        ScoreTable table;
        LoadScoreFile(path, table);
        const ScoreTable rank = table.RankRows(kSelectedPicture, kSelectedSize, SortBy::Step);
        ranked = rank.GetCount();
        benchmark::DoNotOptimize(ranked);
    }
    if (ranked != static_cast<std::size_t>((state.range(0) + 9) / 10))
        state.SkipWithError("the selection is not a tenth of the rows");
    state.counters["selected"] = static_cast<double>(ranked);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadScoresAndRankOnePicture)
    ->Arg(125'000)
    ->Arg(250'000)
    ->Arg(500'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);

}  // namespace
