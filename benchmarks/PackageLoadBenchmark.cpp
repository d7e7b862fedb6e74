// Loading a Pic.dat of 1,000 pictures, against reading the same file into memory with one read;
// saving it after an import, against writing the file once from memory.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <memory>
#include <string>

#include "BenchmarkFiles.h"
#include "core/io/FileIO.h"
#include "core/package/ImagePackage.h"

namespace {

constexpr int kPictures = 1000;

// 1,000 entries of 24 to 48 KB each, the size of stored 400 x 300 JPEGs; Load never decodes,
// so the bytes need not be pictures.
const std::string& PicDatOfThousandPictures() {
    static const bench::TemporaryFile file = [] {
        ImagePackage package;
        std::uint32_t state = 12345;
        for (int i = 0; i < kPictures; ++i) {
            state = state * 1664525u + 1013904223u;
            const std::size_t size = 24 * 1024 + state % (24 * 1024);
            package.AddEntry("Picture" + std::to_string(i) + ".jpg",
                             bench::PseudoRandomBytes(size, i));
        }
        bench::TemporaryFile written("corvalin-bench-pic-");
        package.Save(written.Path());
        return written;
    }();
    return file.Path();
}

void BM_ReadPicDatWithOneRead(benchmark::State& state) {
    const std::string& path = PicDatOfThousandPictures();
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat info {};
        ::fstat(fd, &info);
        const auto size = static_cast<std::size_t>(info.st_size);
        std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[size]);
        if (::read(fd, bytes.get(), size) != static_cast<ssize_t>(size))
            state.SkipWithError("short read");
        ::close(fd);
        benchmark::DoNotOptimize(bytes.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * bench::FileSize(path));
}
BENCHMARK(BM_ReadPicDatWithOneRead)->Unit(benchmark::kMillisecond);

void BM_LoadPicDatOfThousandPictures(benchmark::State& state) {
    const std::string& path = PicDatOfThousandPictures();
    for (auto _ : state) {
        ImagePackage package;
        if (!package.Load(path) || package.Count() != kPictures)
            state.SkipWithError("Pic.dat did not load whole");
        benchmark::DoNotOptimize(package.Count());
    }
    state.SetBytesProcessed(state.iterations() * bench::FileSize(path));
}
BENCHMARK(BM_LoadPicDatOfThousandPictures)->Unit(benchmark::kMillisecond);

// The file an import into the 1,000 pictures writes: every byte from memory, written as every
// save writes (a temporary file, flushed, renamed over the old one).
void BM_WritePicDatOnce(benchmark::State& state) {
    ImagePackage package;
    package.LoadFromBytes(*ReadWholeFile(PicDatOfThousandPictures()));
    package.AddEntry("Imported.jpg", bench::PseudoRandomBytes(36 * 1024, 99999));
    const std::vector<std::uint8_t> bytes = package.ToBytes();
    const bench::TemporaryFile target("corvalin-bench-write-");
    for (auto _ : state) WriteFileAtomically(target.Path(), bytes);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_WritePicDatOnce)->Unit(benchmark::kMillisecond);

// An import as the game makes it: the library loaded at start-up, one picture added, saved.
void BM_SaveAfterImportIntoPicDatOfThousandPictures(benchmark::State& state) {
    const auto original = *ReadWholeFile(PicDatOfThousandPictures());
    const bench::TemporaryFile target("corvalin-bench-save-");
    const auto picture = bench::PseudoRandomBytes(36 * 1024, 99999);
    for (auto _ : state) {
        state.PauseTiming();
        WriteFileAtomically(target.Path(), original);
        ImagePackage package;
        package.Load(target.Path());
        state.ResumeTiming();
        package.AddEntry("Imported.jpg", picture);
        package.Save(target.Path());
    }
    state.SetBytesProcessed(state.iterations() * bench::FileSize(target.Path()));
}
BENCHMARK(BM_SaveAfterImportIntoPicDatOfThousandPictures)->Unit(benchmark::kMillisecond);

}  // namespace
