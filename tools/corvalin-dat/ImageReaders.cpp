#include "ImageReaders.h"

#include "core/picture/PictureSize.h"

std::string PictureSizeText(const std::vector<std::uint8_t>& bytes) {
    const std::optional<layout::Size> size = DecodedPictureSize(bytes);
    return size ? SizeText(*size) : "?";
}
