#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/library/RgbaImage.h"

// What a bitmap file (its whole bytes) decodes to: the picture, or why there is none.
struct BmpPicture {
    RgbaImage image;      // empty (0 x 0) when refused
    std::string refusal;  // empty when decoded
};

// Reads a Windows or OS/2 bitmap file, checking every size it states against DecodeLimits
// before allocating for it.
BmpPicture ReadBmp(std::span<const std::uint8_t> bytes);
