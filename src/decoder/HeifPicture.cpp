#include "decoder/HeifPicture.h"

#include <malloc.h>

#include <algorithm>

#include "core/library/CutShortPicture.h"
#include "core/library/HeifCanvas.h"
#include "decoder/HeifDecoder.h"

namespace {

// What new memory holds in the two decodes of a picture that is decoded twice.
constexpr int kFirstFill = 0x5A;
constexpr int kSecondFill = 0xA5;

DecodedPicture Refused(std::string why) { return {{}, std::move(why)}; }

// libheif composes an overlay on a canvas it never clears, and 1.15 reads past images that
// reach outside it: decoded twice, new memory filled with other bytes each time, a picture
// whose pixels differ is one made of memory nobody wrote.
DecodedPicture OverlayDecodedTwice(std::span<const std::uint8_t> bytes, layout::Size size) {
    ::mallopt(M_PERTURB, kFirstFill);
    DecodedPicture first = FinishedPicture(DecodeHeif(bytes), size);
    DecodedPicture second;
    if (!first.Refused()) {
        ::mallopt(M_PERTURB, kSecondFill);
        second = FinishedPicture(DecodeHeif(bytes), size);
    }
    ::mallopt(M_PERTURB, 0);
    if (first.Refused() || second.Refused()) return Refused("not a whole picture");
    if (first.rgb != second.rgb)
        return Refused("its pixels depend on memory the decoder never wrote");
    return first;
}

bool IsOverlay(std::span<const std::uint8_t> bytes) {
    const std::vector<CanvasSize> canvases = StatedCanvasSizes(bytes);
    return std::any_of(canvases.begin(), canvases.end(),
                       [](const CanvasSize& canvas) { return canvas.overlay; });
}

}  // namespace

DecodedPicture DecodeAnyPicture(std::span<const std::uint8_t> bytes, layout::Size size) {
    if (!IsHeifFile(bytes)) return DecodePicture(bytes, size);
    if (IsCutShort(bytes)) return Refused("cut short");
    if (IsOverlay(bytes)) return OverlayDecodedTwice(bytes, size);
    return FinishedPicture(DecodeHeif(bytes), size);
}
