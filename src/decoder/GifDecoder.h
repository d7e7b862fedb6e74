#pragma once

#include <cstdint>
#include <span>

#include "decoder/StoredPicture.h"

bool LooksLikeGif(std::span<const std::uint8_t> bytes);

// Decodes the still a GIF shows first through giflib: every image block up to the first shown
// for a while (a delay), as true-colour GIFs stack their blocks, laid on the logical screen and
// clipped to it, as browsers show them (the first block's extent where a file states no screen).
// The rest of the canvas and each block's transparent colour stay transparent, a block to be
// replaced by the background clears its part, and an index past the colour table shows black.
// Refused when giflib reports an error, such as data that ends before a block's last row.
MaybePicture DecodeGif(std::span<const std::uint8_t> bytes);
