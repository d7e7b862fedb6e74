#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Pictures that carry an ICC profile (a phone's Display P3, a camera's Adobe RGB) shown in
// sRGB, as the game shows every picture, through lcms2.

// Makes the sRGB profile, once: making it reads the clock and the time zone, which a sealed
// process may not. Call before the seal.
void PrepareColour();

// Converts red, green, blue bytes in place from the colours of an RGB ICC profile, or a grey
// one (for a grey picture: red, green and blue alike), to sRGB. Left as they are when the
// profile is damaged or of other colours.
void ConvertToSrgb(std::vector<std::uint8_t>& rgb, std::span<const std::uint8_t> profile);

// Converts CMYK pixels in place, 4 bytes each (inverted, 255 for no ink, as Adobe's JPEGs store
// them, when inverted), to red, green, blue and opaque alpha through a CMYK ICC profile. False,
// the pixels untouched, when the profile is damaged or not of CMYK.
bool ConvertCmykToRgba(std::uint8_t* pixels, std::size_t count,
                       std::span<const std::uint8_t> profile, bool inverted);
