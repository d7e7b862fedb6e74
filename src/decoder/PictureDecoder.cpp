#include "decoder/PictureDecoder.h"

#include "core/picture/BmpReader.h"
#include "core/picture/CutShortPicture.h"
#include "core/picture/ExifOrientation.h"
#include "core/picture/PictureSize.h"
#include "decoder/Colour.h"
#include "decoder/GifDecoder.h"
#include "decoder/JpegDecoder.h"
#include "decoder/Orientation.h"
#include "decoder/PngDecoder.h"
#include "decoder/Stretch.h"
#include "decoder/WebpDecoder.h"

namespace {

DecodedPicture Refused(std::string why) { return {{}, std::move(why)}; }

// The bitmap reader checks the file's end itself, and says why it refuses.
DecodedPicture DecodedBitmap(std::span<const std::uint8_t> bytes, layout::Size size) {
    BmpPicture bitmap = IsBitmapArray(bytes) ? ReadFirstOfBitmapArray(bytes) : ReadBmp(bytes);
    if (!bitmap.refusal.empty()) return Refused(std::move(bitmap.refusal));
    StoredPicture picture;
    picture.image = std::move(bitmap.image);
    return FinishedPicture(std::move(picture), size);
}

}  // namespace

layout::Size StretchedSize(int orientation, layout::Size size) {
    // Stretched to the size that shows as size once turned, so that only the small picture is.
    return SwapsSides(orientation) ? layout::Size{size.height, size.width} : size;
}

DecodedPicture FinishedPicture(MaybePicture stored, layout::Size size) {
    if (!stored) return Refused("not a whole picture");
    std::vector<std::uint8_t> rgb = StretchedOnBlack(RowsOf(*stored), stored->premultiplied,
                                                     StretchedSize(stored->orientation, size));
    return FinishedStretch(std::move(rgb), *stored, size);
}

DecodedPicture FinishedStretch(std::vector<std::uint8_t> rgb, const StoredPicture& colours,
                               layout::Size size) {
    if (rgb.empty()) return Refused("could not be stretched");
    ConvertToSrgb(rgb, colours.iccProfile);
    if (colours.iccProfile.empty()) ConvertCodedToSrgb(rgb, colours.codedColour);
    return {Upright(rgb, StretchedSize(colours.orientation, size), colours.orientation), {}};
}

bool IsCommonFormat(std::span<const std::uint8_t> bytes) {
    return IsBitmapFile(bytes) || IsBitmapArray(bytes) || LooksLikeJpeg(bytes) ||
           LooksLikePng(bytes) || LooksLikeGif(bytes) || LooksLikeWebp(bytes);
}

DecodedPicture DecodePicture(std::span<const std::uint8_t> bytes, layout::Size size) {
    if (bytes.empty()) return Refused("empty");
    if (IsBitmapFile(bytes) || IsBitmapArray(bytes)) return DecodedBitmap(bytes, size);
    if (IsCutShort(bytes)) return Refused("cut short");
    if (LooksLikeJpeg(bytes)) return FinishedPicture(DecodeJpeg(bytes, size), size);
    if (LooksLikePng(bytes)) return FinishedPicture(DecodePng(bytes), size);
    if (LooksLikeGif(bytes)) return FinishedPicture(DecodeGif(bytes), size);
    if (LooksLikeWebp(bytes)) return FinishedPicture(DecodeWebp(bytes), size);
    return Refused("of no format decoded here");
}
