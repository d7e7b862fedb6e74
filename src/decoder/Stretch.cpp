#include "decoder/Stretch.h"

// stb's resampler is a single-file library: compiled here, rather than linked from Debian's
// libstb, which holds every stb module and took each decoder 0.7 ms to load.
#define STB_IMAGE_RESIZE_STATIC
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb_image_resize.h>

namespace {

// Lays each pixel on black and packs the row to three bytes a pixel in place, from its start:
// the resampler then has a quarter less to read and write, and gives red, green, blue at once.
// Packed from the left, a pixel is written no further right than it was read from.
void LayOnBlackAsRgb(const PixelRows& image, bool premultiplied) {
    for (std::size_t y = 0; y < image.height; ++y) {
        std::uint8_t* row = image.pixels + y * image.rowBytes;
        const std::uint8_t* from = row;
        for (std::uint8_t* to = row; to != row + std::size_t{image.width} * 3; to += 3, from += 4) {
            const unsigned alpha = from[3];
            for (int channel = 0; channel < 3; ++channel) {
                const unsigned value = from[channel];
                to[channel] = premultiplied || alpha == 0xFF
                                  ? static_cast<std::uint8_t>(value)
                                  : static_cast<std::uint8_t>((value * alpha + 127) / 255);
            }
        }
    }
}

stbir_filter FilterFor(std::uint32_t from, int to) {
    return from > static_cast<std::uint32_t>(to) ? STBIR_FILTER_BOX : STBIR_FILTER_TRIANGLE;
}

}  // namespace

std::vector<std::uint8_t> StretchedOnBlack(const PixelRows& image, bool premultiplied,
                                           layout::Size size) {
    if (image.channels == 4) LayOnBlackAsRgb(image, premultiplied);
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(size.width) * size.height * 3);
    if (stbir_resize(image.pixels, static_cast<int>(image.width), static_cast<int>(image.height),
                     static_cast<int>(image.rowBytes), rgb.data(), size.width, size.height,
                     size.width * 3, STBIR_TYPE_UINT8, 3, STBIR_ALPHA_CHANNEL_NONE, 0,
                     STBIR_EDGE_CLAMP, STBIR_EDGE_CLAMP, FilterFor(image.width, size.width),
                     FilterFor(image.height, size.height), STBIR_COLORSPACE_LINEAR, nullptr) != 1)
        return {};
    return rgb;
}
