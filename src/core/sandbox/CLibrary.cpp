#include "core/sandbox/CLibrary.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>
#include <vector>

namespace {

// Below every mmap threshold, so that the blocks come from the thread's own heap, and together
// past the trim threshold, so that freeing them shrinks it.
constexpr std::size_t kBlockBytes = 96 << 10;
constexpr int kBlocks = 4;

void ShrinkAThreadHeap() {
    std::thread([] {
        std::vector<void*> blocks;
        for (int i = 0; i < kBlocks; ++i) blocks.push_back(std::malloc(kBlockBytes));
        for (void* block : blocks) std::free(block);
    }).join();
}

}  // namespace

void SettleCLibrary() {
    ShrinkAThreadHeap();
    ::tzset();
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    ::gmtime_r(&now, &parts);
    ::localtime_r(&now, &parts);
    (void)std::strerror(ENOENT);
    (void)std::thread::hardware_concurrency();
}
