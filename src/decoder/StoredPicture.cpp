#include "decoder/StoredPicture.h"

#include "core/picture/DecodeLimits.h"

PixelRows RowsOf(StoredPicture& picture) {
    RgbaImage& image = picture.image;
    if (picture.rows != nullptr)
        return {image.width, image.height, picture.rowChannels, picture.rows, picture.rowBytes};
    return {image.width, image.height, 4, image.pixels.data(), std::size_t{image.width} * 4};
}

RgbaImage TransparentImage(std::uint32_t width, std::uint32_t height) {
    if (!DeclaredSizeAcceptable(width, height, 4)) return {};
    return {width, height, std::vector<std::uint8_t>(std::size_t{width} * height * 4)};
}
