#pragma once

#include <tiffio.h>

#include "core/picture/RgbaImage.h"

// Reads the first image of an open TIFF through libtiff's strip and tile interface, for the
// sample kinds its RGBA reader refuses: 1 to 64 bits a sample, unsigned or signed integers
// (signed taken from 0 up) and 16-, 24-, 32- and 64-bit floating point (taken as 0 to 1,
// clamped), grey (min-is-black or min-is-white), RGB or CMYK, with an alpha sample, samples
// together or in planes. Rows top first as stored; an empty image when the file is of
// another kind or damaged, or its size beyond DecodeLimits.
RgbaImage ReadTiffSamples(TIFF* tiff);
