#pragma once

#include <cstdint>
#include <span>

#include "decoder/StoredPicture.h"

bool LooksLikeGif(std::span<const std::uint8_t> bytes);

// Decodes the first frame of a GIF through giflib, laid on its canvas (the logical screen,
// grown to hold the frame where it reaches past it); the rest of the canvas and the frame's
// transparent colour stay transparent, and an index past the colour table shows black. Refused
// when giflib reports an error, such as data that ends before the frame's last row.
MaybePicture DecodeGif(std::span<const std::uint8_t> bytes);
