#pragma once

#include <cstdint>
#include <span>

#include "core/layout/SkinLayout.h"
#include "decoder/StoredPicture.h"

// True when bytes start as every JPEG file does.
bool LooksLikeJpeg(std::span<const std::uint8_t> bytes);

// Decodes a JPEG through libjpeg at the smallest scale n/8 that still covers atLeast once the
// picture is upright, with its EXIF orientation and ICC profile (a CMYK one converts the
// picture here; without one, CMYK is inverted ink). Refused when libjpeg reports an error or a
// warning about lost pixels; a warning about bytes that carry none (extraneous bytes, a missing
// end marker, a scan header that wastes its spectral range) keeps it.
MaybePicture DecodeJpeg(std::span<const std::uint8_t> bytes, layout::Size atLeast);
