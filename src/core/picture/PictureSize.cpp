#include "core/picture/PictureSize.h"

#include "core/picture/BmpReader.h"
#include "core/picture/JpegFile.h"

namespace {

// A bitmap's header is read with its pixels: the game's packages hold none.
std::optional<layout::Size> BitmapSize(std::span<const std::uint8_t> bytes) {
    const BmpPicture bitmap = ReadBmp(bytes);
    if (!bitmap.refusal.empty()) return std::nullopt;
    return layout::Size{static_cast<int>(bitmap.image.width),
                        static_cast<int>(bitmap.image.height)};
}

}  // namespace

bool IsJpegFile(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

bool IsBitmapFile(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

std::optional<layout::Size> StatedPictureSize(std::span<const std::uint8_t> bytes) {
    if (IsJpegFile(bytes)) return StatedJpegSize(bytes);
    if (IsBitmapFile(bytes)) return BitmapSize(bytes);
    return std::nullopt;
}

std::optional<layout::Size> DecodedPictureSize(std::span<const std::uint8_t> bytes) {
    if (IsJpegFile(bytes)) return DecodedJpegSize(bytes);
    if (IsBitmapFile(bytes)) return BitmapSize(bytes);
    return std::nullopt;
}

bool PictureDecodesWhole(std::span<const std::uint8_t> bytes) {
    if (IsJpegFile(bytes)) return JpegDecodesWhole(bytes);
    // The bitmap reader refuses a bitmap whose rows stop short.
    return IsBitmapFile(bytes) && BitmapSize(bytes).has_value();
}

std::string SizeText(layout::Size size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}
