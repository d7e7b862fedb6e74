#pragma once

#include <cstdint>
#include <span>

#include "decoder/StoredPicture.h"

bool LooksLikePng(std::span<const std::uint8_t> bytes);

// Decodes a PNG through libpng, any bit depth and colour type, a transparent colour (tRNS) as
// transparency, with its ICC profile and its eXIf orientation. Refused on any error libpng
// reports, and when its image data could not fill the size it declares.
MaybePicture DecodePng(std::span<const std::uint8_t> bytes);
