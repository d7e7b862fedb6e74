#include "decoder/DecoderSetup.h"

#include <malloc.h>

#include "core/picture/DecodeLimits.h"
#include "core/sandbox/CLibrary.h"
#include "core/sandbox/Seal.h"
#include "decoder/Colour.h"

namespace {

constexpr unsigned kSealedCpuSeconds = 20;
// The most glibc hands out from its heaps, where freshly allocated memory takes the fill
// byte; larger blocks come as new zeroed pages.
constexpr int kLargestFilledBlock = 32 << 20;
constexpr int kArenas = 4;

}  // namespace

void PrepareDecoding() {
    ::mallopt(M_ARENA_MAX, kArenas);
    ::mallopt(M_MMAP_THRESHOLD, kLargestFilledBlock);
    SettleCLibrary();
    PrepareColour();
}

std::string SealDecoder() { return SealProcess({kSealedDecoderBytes, kSealedCpuSeconds}); }
