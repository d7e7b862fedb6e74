#include "decoder/StoredPicture.h"

#include "core/library/DecodeLimits.h"

RgbaImage TransparentImage(std::uint32_t width, std::uint32_t height) {
    if (!DeclaredSizeAcceptable(width, height, 4)) return {};
    return {width, height, std::vector<std::uint8_t>(std::size_t{width} * height * 4)};
}
