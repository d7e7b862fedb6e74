// What start-up does with the skin in a translated language that it does not in English: the
// language packages beside the skin are found, read to their headers and checked against it.
// The data folder is the build's own bin/, with the packages the generator made.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include "core/state/AppState.h"

namespace {

class BenchmarkState : public AppState {};

// Arg 0: English (no language package), 1: German.
void BM_LoadDataInLanguage(benchmark::State& state) {
    ::setenv("LANG", "C.UTF-8", 1);
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_MESSAGES");
    if (state.range(0) == 1) {
        ::setenv("LANGUAGE", "de", 1);
    } else {
        ::unsetenv("LANGUAGE");
    }
    BenchmarkState app;
    for (auto _ : state) {
        app.LoadData(CORVALIN_BIN_DIR "/");
        benchmark::DoNotOptimize(app.m_languagePackage.Count());
    }
    if ((app.m_languagePackage.Count() > 0) != (state.range(0) == 1))
        state.SkipWithError("the language package was not taken as expected");
}
BENCHMARK(BM_LoadDataInLanguage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
