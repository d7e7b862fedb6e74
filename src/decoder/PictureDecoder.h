#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/layout/SkinLayout.h"

// What the sealed decoder makes of a picture file: the picture, or why there is none.
struct DecodedPicture {
    std::vector<std::uint8_t>
        rgb;              // size.width x size.height pixels, rows top first; empty when refused
    std::string refusal;  // why it was refused, for the curious; empty when decoded

    bool Refused() const { return rgb.empty(); }
};

// Decodes a picture file's bytes (format told by its content) upright, as a viewer shows it,
// in sRGB, stretched to exactly size, aspect ratio not kept, with any transparent part on
// black. Each format through its own library: JPEG libjpeg, PNG libpng, GIF giflib (the first
// frame), WebP libwebp (an animation's first frame), TIFF libtiff, HEIC, HEIF and AVIF libheif,
// BMP our own reader. Refused: a file cut short or damaged as far as its decoder or its
// structure tells; one declaring or stating a size beyond DecodeLimits; one no decoder here
// takes; and a HEIF overlay that decodes to other pixels a second time, when new memory is
// filled otherwise (libheif leaves what its images do not cover unwritten). Call
// PrepareDecoding (DecoderSetup.h) first.
DecodedPicture DecodePicture(std::span<const std::uint8_t> bytes, layout::Size size);
