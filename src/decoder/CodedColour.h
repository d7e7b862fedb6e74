#pragma once

#include <cstdint>
#include <vector>

// Colour stated as code points (ITU-T H.273), as HEIF and AVIF files state it in an nclx box:
// the primaries and the transfer characteristics. The matrix is the codec's: libheif has applied
// it in its conversion to RGB.
struct CodedColour {
    int primaries = 1;  // BT.709, sRGB's
    int transfer = 13;  // sRGB's

    bool operator==(const CodedColour&) const = default;
};

// Whether pictures of colour show as they are in sRGB: sRGB's, or left unspecified.
bool IsSrgb(CodedColour colour);

// Converts red, green, blue bytes in place from colour to sRGB: decoded by the transfer to
// linear light, taken from the primaries to sRGB's (white points as stated, not adapted), clipped
// and encoded as sRGB. SDR transfers: sRGB's, BT.709's (also BT.601's and BT.2020's: the inverse
// of their camera curve), gamma 2.2 and 2.8, linear. HDR transfers are tone mapped to SDR: PQ
// and HLG (HLG through its reference display's light, 1000 cd/m2 and system gamma 1.2), with the
// SDR white at 203 cd/m2 (BT.2408), by the extended Reinhard operator on luminance whose white
// is 1000 cd/m2, colours kept by scaling red, green and blue alike. Anything unknown counts as
// sRGB's.
void ConvertCodedToSrgb(std::vector<std::uint8_t>& rgb, CodedColour colour);
