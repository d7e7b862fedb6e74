#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/library/RgbaImage.h"

// What a format's decoder gives: the picture as the file stores it, at its full size or at a
// size its decoder chose that still covers the picture asked for; the EXIF orientation (1 to 8)
// that shows it upright; and the ICC colour profile it carries, empty for sRGB.
struct StoredPicture {
    RgbaImage image;
    int orientation = 1;
    std::vector<std::uint8_t> iccProfile;
    bool premultiplied = false;  // colours already multiplied by their alpha
};

// Each format's decoder (its own file beside this one) takes a whole file's bytes and gives
// nullopt for a file it refuses: damaged, cut short, or declaring a size beyond DecodeLimits,
// counted in the bytes a pixel takes in that decoder at full size.
using MaybePicture = std::optional<StoredPicture>;

// An image of width x height with every pixel transparent black, or an empty one (0 x 0) when
// the size is not acceptable (DecodeLimits, 4 bytes a pixel).
RgbaImage TransparentImage(std::uint32_t width, std::uint32_t height);
