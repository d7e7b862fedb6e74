#include "decoder/Stretch.h"

#include <stb_image_resize.h>

namespace {

void LayOnBlack(const RgbaRows& image, bool premultiplied) {
    for (std::size_t y = 0; y < image.height; ++y) {
        std::uint8_t* row = image.pixels + y * image.rowBytes;
        for (std::uint8_t* pixel = row; pixel != row + std::size_t{image.width} * 4; pixel += 4) {
            const unsigned alpha = pixel[3];
            if (!premultiplied && alpha != 0xFF)
                for (int channel = 0; channel < 3; ++channel)
                    pixel[channel] =
                        static_cast<std::uint8_t>((pixel[channel] * alpha + 127) / 255);
            pixel[3] = 0xFF;
        }
    }
}

stbir_filter FilterFor(std::uint32_t from, int to) {
    return from > static_cast<std::uint32_t>(to) ? STBIR_FILTER_BOX : STBIR_FILTER_TRIANGLE;
}

}  // namespace

std::vector<std::uint8_t> StretchedOnBlack(const RgbaRows& image, bool premultiplied,
                                           layout::Size size) {
    LayOnBlack(image, premultiplied);
    const std::size_t count = static_cast<std::size_t>(size.width) * size.height;
    std::vector<std::uint8_t> rgba(count * 4);
    if (stbir_resize(image.pixels, static_cast<int>(image.width), static_cast<int>(image.height),
                     static_cast<int>(image.rowBytes), rgba.data(), size.width, size.height,
                     size.width * 4, STBIR_TYPE_UINT8, 4, STBIR_ALPHA_CHANNEL_NONE, 0,
                     STBIR_EDGE_CLAMP, STBIR_EDGE_CLAMP, FilterFor(image.width, size.width),
                     FilterFor(image.height, size.height), STBIR_COLORSPACE_LINEAR, nullptr) != 1)
        return {};
    std::vector<std::uint8_t> rgb(count * 3);
    for (std::size_t i = 0; i < count; ++i)
        for (std::size_t channel = 0; channel < 3; ++channel)
            rgb[i * 3 + channel] = rgba[i * 4 + channel];
    return rgb;
}
