#pragma once

#include <QImage>
#include <cstdint>
#include <span>

// True when bytes start as a TIFF file does (either byte order, classic or big).
bool LooksLikeTiff(std::span<const std::uint8_t> bytes);

// Decodes the first image of a TIFF file's bytes with libtiff's RGBA interface, which converts
// every sample layout (planar, 16-bit, palette, YCbCr, CMYK...) to 8-bit RGBA, premultiplied,
// as stored; *orientation is its orientation tag (1 to 8, as EXIF's). Pixels libtiff does not
// write keep fill, so that two decodes with different fills tell them. Null on any error
// libtiff reports, or a size beyond DecodeLimits.
QImage DecodeTiff(std::span<const std::uint8_t> bytes, std::uint8_t fill, int* orientation);
