#pragma once

#include <cstdint>
#include <span>

#include "core/picture/BmpPalette.h"
#include "core/picture/RgbaImage.h"

// Paints a bitmap's run-length codes (RLE8, or RLE4 when fourBit) onto image, which is sized
// and transparent black: the pixels the codes skip (moves, early ends of line or bitmap) stay
// so. Rows are stored bottom first unless topDown; pixels past a row's end are dropped. False
// when the codes end before the last row and before an end-of-bitmap code.
bool PaintRunLength(std::span<const std::uint8_t> codes, bool fourBit, const BmpPalette& palette,
                    bool topDown, RgbaImage& image);
