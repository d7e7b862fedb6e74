// Any bytes as a bitmap file: the reader never crashes, over-reads or reaches past the decode
// limits; it gives a whole picture or a reason, never both, and refuses every file cut short.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "core/picture/BmpReader.h"
#include "core/picture/CutShortPicture.h"
#include "core/picture/DecodeLimits.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "bitmap reader: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    const BmpPicture picture = ReadBmp(input);
    const RgbaImage& image = picture.image;
    if (!picture.refusal.empty()) {
        if (image.width != 0 || image.height != 0 || !image.pixels.empty())
            Fail("a refused file gives pixels");
        return 0;
    }
    if (IsCutShort(input)) Fail("a file cut short is decoded");
    if (!DeclaredSizeAcceptable(image.width, image.height, 4)) Fail("a picture past the limits");
    if (image.pixels.size() != std::uint64_t{image.width} * image.height * 4)
        Fail("the pixels do not fill the picture");
    return 0;
}
