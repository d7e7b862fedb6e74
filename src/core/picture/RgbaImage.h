#pragma once

#include <cstdint>
#include <vector>

// A picture as a decoder gives it, at its full size: rows top to bottom, four bytes a pixel
// (red, green, blue, alpha; alpha 0 is transparent), no padding between rows.
struct RgbaImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> pixels;  // width * height * 4 bytes
};
