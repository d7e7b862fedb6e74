#include "decoder/PictureDecoder.h"

#include <malloc.h>

#include <algorithm>
#include <functional>

#include "core/library/BmpReader.h"
#include "core/library/CutShortPicture.h"
#include "core/library/ExifOrientation.h"
#include "core/library/HeifCanvas.h"
#include "decoder/Colour.h"
#include "decoder/GifDecoder.h"
#include "decoder/HeifDecoder.h"
#include "decoder/JpegDecoder.h"
#include "decoder/Orientation.h"
#include "decoder/PngDecoder.h"
#include "decoder/Stretch.h"
#include "decoder/TiffDecoder.h"
#include "decoder/WebpDecoder.h"

namespace {

// What new memory holds in the two decodes of a picture that is decoded twice.
constexpr int kFirstFill = 0x5A;
constexpr int kSecondFill = 0xA5;

DecodedPicture Refused(std::string why) { return {{}, std::move(why)}; }

DecodedPicture Finished(MaybePicture stored, layout::Size size) {
    if (!stored) return Refused("not a whole picture");
    // Stretched to the size that shows as size once turned, so that only the small picture is.
    const layout::Size storedSize =
        SwapsSides(stored->orientation) ? layout::Size{size.height, size.width} : size;
    std::vector<std::uint8_t> rgb =
        StretchedOnBlack(RowsOf(*stored), stored->premultiplied, storedSize);
    if (rgb.empty()) return Refused("could not be stretched");
    ConvertToSrgb(rgb, stored->iccProfile);
    return {Upright(rgb, storedSize, stored->orientation), {}};
}

// The bitmap reader checks the file's end itself, and says why it refuses.
DecodedPicture DecodedBitmap(std::span<const std::uint8_t> bytes, layout::Size size) {
    BmpPicture bitmap = ReadBmp(bytes);
    if (!bitmap.refusal.empty()) return Refused(std::move(bitmap.refusal));
    StoredPicture picture;
    picture.image = std::move(bitmap.image);
    return Finished(std::move(picture), size);
}

// libheif composes an overlay on a canvas it never clears, and 1.15 reads past images that
// reach outside it: decoded twice, new memory filled with other bytes each time, a picture
// whose pixels differ is one made of memory nobody wrote.
DecodedPicture OverlayDecodedTwice(std::span<const std::uint8_t> bytes, layout::Size size) {
    ::mallopt(M_PERTURB, kFirstFill);
    DecodedPicture first = Finished(DecodeHeif(bytes), size);
    DecodedPicture second;
    if (!first.Refused()) {
        ::mallopt(M_PERTURB, kSecondFill);
        second = Finished(DecodeHeif(bytes), size);
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

bool LooksLikeBmp(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

}  // namespace

DecodedPicture DecodePicture(std::span<const std::uint8_t> bytes, layout::Size size) {
    if (bytes.empty()) return Refused("empty");
    if (LooksLikeBmp(bytes)) return DecodedBitmap(bytes, size);
    if (IsCutShort(bytes)) return Refused("cut short");
    if (LooksLikeJpeg(bytes)) return Finished(DecodeJpeg(bytes, size), size);
    if (StartsWithFileTypeBox(bytes)) {
        if (IsOverlay(bytes)) return OverlayDecodedTwice(bytes, size);
        return Finished(DecodeHeif(bytes), size);
    }
    if (LooksLikePng(bytes)) return Finished(DecodePng(bytes), size);
    if (LooksLikeGif(bytes)) return Finished(DecodeGif(bytes), size);
    if (LooksLikeWebp(bytes)) return Finished(DecodeWebp(bytes), size);
    if (LooksLikeTiff(bytes)) return Finished(DecodeTiff(bytes), size);
    return Refused("of no format decoded here");
}
