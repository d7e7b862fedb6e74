#pragma once

#include <cstdint>
#include <span>

// The orientation an EXIF block asks a viewer to apply (TIFF tag 0x0112): 1 upright, 2 mirrored
// left to right, 3 turned half round, 4 mirrored top to bottom, 5 mirrored along the main
// diagonal, 6 to be turned a quarter clockwise, 7 mirrored along the other diagonal, 8 to be
// turned a quarter anticlockwise. app1: the payload of a JPEG APP1 segment, starting "Exif\0\0".
// Anything missing, damaged or out of range gives 1: a picture is never refused for its EXIF.
int ExifOrientation(std::span<const std::uint8_t> app1);

// The same from the TIFF structure alone ("II" or "MM" first), as PNG and WebP files hold it.
int TiffOrientation(std::span<const std::uint8_t> tiff);

// True when bytes begin with the "Exif\0\0" header of a JPEG APP1 segment, which some writers
// put before the TIFF structure in PNG and WebP files too.
bool StartsWithExifHeader(std::span<const std::uint8_t> bytes);

// True for the orientations that swap width and height (5 to 8).
inline bool SwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }
