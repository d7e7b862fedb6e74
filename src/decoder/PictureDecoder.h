#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/layout/SkinLayout.h"
#include "decoder/StoredPicture.h"

// What the sealed decoder makes of a picture file: the picture, or why there is none.
struct DecodedPicture {
    std::vector<std::uint8_t>
        rgb;              // size.width x size.height pixels, rows top first; empty when refused
    std::string refusal;  // why it was refused, for the curious; empty when decoded

    bool Refused() const { return rgb.empty(); }
};

// Decodes a picture file's bytes (format told by its content) upright, as a viewer shows it,
// in sRGB, stretched to exactly size, aspect ratio not kept, with any transparent part on
// black. Each format through its own library: JPEG libjpeg, PNG libpng, GIF giflib (the first
// still), WebP libwebp (an animation's first frame), BMP our own reader (an OS/2 bitmap
// array's first bitmap): the common formats (IsCommonFormat). TIFF, HEIC, HEIF and AVIF are
// DecodeAnyPicture's (AnyPicture.h), and refused here as of no format decoded here. Refused: a file
// cut short or damaged as far as its decoder or its structure tells; one declaring or stating a
// size beyond DecodeLimits; one no decoder here takes. Call PrepareDecoding (DecoderSetup.h) first.
DecodedPicture DecodePicture(std::span<const std::uint8_t> bytes, layout::Size size);

// Whether bytes (a whole file, or as much of its start as 16 bytes) start as a file of a format
// DecodePicture decodes: JPEG, PNG, GIF, WebP or a bitmap.
bool IsCommonFormat(std::span<const std::uint8_t> bytes);

// A format decoder's picture made into DecodePicture's: stretched to size as it shows once
// turned upright, on black, in sRGB; refused when there is none.
DecodedPicture FinishedPicture(MaybePicture stored, layout::Size size);

// The size to stretch a stored picture to so that it shows as size once turned to orientation.
layout::Size StretchedSize(int orientation, layout::Size size);

// A picture a decoder stretched itself to StretchedSize (rgb, opaque), made into DecodePicture's
// as FinishedPicture makes one: its colours (profile or code points) to sRGB, turned upright by
// colours.orientation. Refused when rgb is empty.
DecodedPicture FinishedStretch(std::vector<std::uint8_t> rgb, const StoredPicture& colours,
                               layout::Size size);
