// Loading a Pic.dat of 1,000 pictures, against reading the same file into memory with one read;
// saving it after an import, against writing the file once from memory; and one locked change
// of it (lock, read it again, add or remove one entry, write it safely, unlock), against writing
// the same bytes with one plain write.
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
#include "core/package/PackageFile.h"

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

void BM_WritePicDatWithOneWrite(benchmark::State& state) {
    const std::string& path = PicDatOfThousandPictures();
    ImagePackage package;
    package.Load(path);
    const std::vector<std::uint8_t> bytes = package.ToBytes();
    const bench::TemporaryFile copy("corvalin-bench-write-");
    for (auto _ : state) {
        const int fd = ::open(copy.Path().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            state.SkipWithError("short write");
        ::close(fd);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_WritePicDatWithOneWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same bytes replaced safely (temporary file, flush, rename), without the lock and the read.
void BM_SavePicDatAtomically(benchmark::State& state) {
    ImagePackage package;
    package.Load(PicDatOfThousandPictures());
    const bench::TemporaryFile copy("corvalin-bench-save-");
    for (auto _ : state) package.Save(copy.Path());
    state.SetBytesProcessed(state.iterations() * bench::FileSize(copy.Path()));
}
BENCHMARK(BM_SavePicDatAtomically)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LockedChangeOfPicDat(benchmark::State& state) {
    const std::string& path = PicDatOfThousandPictures();
    const std::vector<std::uint8_t> extra = bench::PseudoRandomBytes(36 * 1024, 7);
    ImagePackage package;
    for (auto _ : state) {
        // One picture in, the next time out again, so the file keeps its size.
        UpdatePackageFile(package, path, [&](ImagePackage& current) {
            if (!current.Remove("Extra.jpg")) current.AddEntry("Extra.jpg", extra);
            return true;
        });
    }
    state.SetBytesProcessed(state.iterations() * bench::FileSize(path));
}
BENCHMARK(BM_LockedChangeOfPicDat)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
