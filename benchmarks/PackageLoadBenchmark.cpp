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

// saving it after an import, against writing the file once from memory; and one locked change
// of it (lock, read it again, add or remove one entry, write it safely, unlock), against writing
// the same bytes with one plain write.

}  // namespace
