#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/picture/RgbaImage.h"

// What a bitmap file (its whole bytes) decodes to: the picture, or why there is none.
struct BmpPicture {
    RgbaImage image;      // empty (0 x 0) when refused
    std::string refusal;  // empty when decoded
};

// Reads a Windows or OS/2 bitmap file, checking every size it states against DecodeLimits
// before allocating for it. Every header size writers use (12 to 124 bytes), 1 to 32 bits a
// pixel, bit fields of any width, run lengths. Pixels the run lengths skip are transparent
// black; a palette index past the colour table is opaque black. Pixels hold alpha only under an
// alpha mask (bit fields under a header of 56 bytes or more, or alpha bit fields), and a
// picture whose alpha is 0 throughout is opaque: its writer left it unset. Refused, with
// the reason: a file cut short ("cut short", before anything of the stated size is allocated),
// a size past the limits ("too large"), JPEG or PNG inside, headers that contradict themselves.
BmpPicture ReadBmp(std::span<const std::uint8_t> bytes);

// Reads the first bitmap of an OS/2 bitmap array ("BA": an array header, then a bitmap file,
// whose pixels' offset counts from the array's start), as ReadBmp reads a bitmap file.
BmpPicture ReadFirstOfBitmapArray(std::span<const std::uint8_t> bytes);
