#include "decoder/AnyPicture.h"

#include <malloc.h>

#include <algorithm>
#include <cstring>

#include "core/picture/CutShortPicture.h"
#include "core/picture/HeifCanvas.h"
#include "decoder/HeifDecoder.h"
#include "decoder/TiffDecoder.h"

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

// Every HEIF file starts with one. Which brands it decodes is libheif's to say, when it reads
// the file: its own quick check knows fewer than it reads.
bool StartsWithFileTypeBox(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 8 && std::memcmp(bytes.data() + 4, "ftyp", 4) == 0;
}

bool IsOverlay(std::span<const std::uint8_t> bytes) {
    const std::vector<CanvasSize> canvases = StatedCanvasSizes(bytes);
    return std::any_of(canvases.begin(), canvases.end(),
                       [](const CanvasSize& canvas) { return canvas.overlay; });
}

}  // namespace

DecodedPicture DecodeAnyPicture(std::span<const std::uint8_t> bytes, layout::Size size) {
    if (IsCommonFormat(bytes) || bytes.empty()) return DecodePicture(bytes, size);
    if (IsCutShort(bytes)) return Refused("cut short");
    if (StartsWithFileTypeBox(bytes)) {
        if (IsOverlay(bytes)) return OverlayDecodedTwice(bytes, size);
        return DecodeHeifPicture(bytes, size);
    }
    if (LooksLikeTiff(bytes)) return FinishedPicture(DecodeTiff(bytes), size);
    return Refused("of no format decoded here");
}
