// Any bytes as a picture file the player imports, decoded as the sealed decoder decodes them,
// with its limits (scripts/fuzz gives libFuzzer the decoder's memory limit): the decoding never
// crashes and either refuses the file with a reason or makes exactly the 400 x 300 picture the
// game stores; a bitmap or GIF whose data the file ends before is always refused. The format
// libraries (libjpeg, libpng, giflib, libwebp, libtiff, libheif with its HEVC and AV1 codecs,
// lcms2, the resampler) are not instrumented; the code around them is: the format choice, the
// bitmap reader, EXIF orientation, the size checks, the completeness rules, the second decode.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "core/layout/SkinLayout.h"
#include "core/picture/CutShortPicture.h"
#include "decoder/AnyPicture.h"
#include "decoder/DecoderSetup.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "picture import: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    PrepareDecoding();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const DecodedPicture picture = DecodeAnyPicture(bytes, layout::kPictureSize);
    if (picture.Refused()) {
        if (picture.refusal.empty()) Fail("a refusal without a reason");
        return 0;
    }
    if (!picture.refusal.empty()) Fail("a picture with a refusal");
    if (picture.rgb.size() != std::size_t{400} * 300 * 3) Fail("a picture that is not 400 x 300");
    if (IsCutShort(bytes)) Fail("a picture cut short was accepted");
    return 0;
}
