#pragma once

#include <cstdint>
#include <vector>

#include "core/layout/SkinLayout.h"
#include "decoder/StoredPicture.h"

// The picture laid on black (its transparent parts black, as the game has always shown them) and
// stretched to exactly size, aspect ratio not kept, as red, green, blue bytes, rows top first.
// Each side is averaged over the area a pixel covers where it shrinks and interpolated linearly
// where it grows. The image's pixels are used up: laid on black and packed to three bytes a
// pixel in place. Empty when the resampler fails.
std::vector<std::uint8_t> StretchedOnBlack(const PixelRows& image, bool premultiplied,
                                           layout::Size size);
