#include "decoder/DecoderSetup.h"

#include <malloc.h>

#include <algorithm>

#include "core/picture/DecodeLimits.h"
#include "core/sandbox/CLibrary.h"
#include "core/sandbox/Seal.h"
#include "decoder/Colour.h"
#include "decoder/Processors.h"

namespace {

constexpr unsigned kSealedCpuSeconds = 20;
// The most glibc hands out from its heaps, where freshly allocated memory takes the fill
// byte; larger blocks come as new zeroed pages.
constexpr int kLargestFilledBlock = 32 << 20;
constexpr int kArenas = 4;
// Threads the user's other programs may start while a picture decodes, which count against
// the same bound.
constexpr unsigned kThreadsOfOthers = 16;

// The most threads the decoders start at once, measured: libheif decodes a tiled picture a
// tile per processor, each tile through a decoder with a worker per processor (libde265, at
// most 32 of them; dav1d); every other format decodes on the calling thread.
unsigned SealedThreads() {
    const unsigned processors = Processors();
    return processors * (1 + std::min(processors, 32u)) + kThreadsOfOthers;
}

}  // namespace

void PrepareDecoding() {
    ::mallopt(M_ARENA_MAX, kArenas);
    ::mallopt(M_MMAP_THRESHOLD, kLargestFilledBlock);
    SettleCLibrary();
    PrepareColour();
}

std::string SealDecoder() {
    return SealProcess({kSealedDecoderBytes, kSealedCpuSeconds, SealedThreads()});
}
