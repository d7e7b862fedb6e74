#pragma once

#include <cstdint>
#include <vector>

#include "core/layout/SkinLayout.h"

// The picture (red, green, blue bytes, rows top first) of stored size, as a viewer shows it
// given its EXIF orientation (1 to 8; see ExifOrientation): of the transposed size when the
// orientation swaps the sides.
std::vector<std::uint8_t> Upright(const std::vector<std::uint8_t>& rgb, layout::Size stored,
                                  int orientation);
