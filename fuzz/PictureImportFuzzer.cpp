// Any bytes as a picture file the player imports, decoded as the sealed decoder decodes them,
// with its limits (scripts/fuzz gives libFuzzer the decoder's memory limit): the decoding never
// crashes and either refuses the file with a reason or makes exactly the 400 x 300 opaque
// picture the game stores, the same each time; a bitmap or GIF whose data the file ends before
// is always refused. The decoders (Qt's readers, libjpeg, libtiff, libheif with its HEVC and AV1
// codecs) are not instrumented; the code around them is: the format choice, EXIF orientation,
// the size checks, the completeness rules, the second decode.

#include <QCoreApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "core/layout/SkinLayout.h"
#include "core/library/CutShortPicture.h"
#include "decoder/DecoderSetup.h"
#include "decoder/PictureDecoder.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "picture import: %s\n", what);
    std::abort();
}

const QSize kSize(layout::kPictureSize.width, layout::kPictureSize.height);

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static int argc = 1;
    static char name[] = "picture_import";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    PrepareDecoding();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const DecodedPicture picture = DecodePicture(bytes, kSize);
    if (picture.image.isNull()) {
        if (picture.refusal.empty()) Fail("a refusal without a reason");
        return 0;
    }
    if (!picture.refusal.empty()) Fail("a picture with a refusal");
    if (picture.image.size() != kSize || picture.image.format() != QImage::Format_RGB32)
        Fail("a picture that is not 400 x 300 opaque pixels");
    if (IsCutShort(bytes)) Fail("a picture cut short was accepted");
    return 0;
}
