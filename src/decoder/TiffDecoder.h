#pragma once

#include <cstdint>
#include <span>

#include "decoder/StoredPicture.h"

// True when bytes start as a TIFF or BigTIFF file does, in either byte order.
bool LooksLikeTiff(std::span<const std::uint8_t> bytes);

// Decodes the first image of a TIFF through libtiff's RGBA interface, opened on the bytes in
// memory, rows as stored, with its orientation tag. Refused when libtiff reports an error, and,
// before anything is allocated for it, when an uncompressed image's strips or tiles hold less
// than its declared size needs.
MaybePicture DecodeTiff(std::span<const std::uint8_t> bytes);
