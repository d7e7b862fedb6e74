#pragma once

#include <cstdint>
#include <span>

// True when file (a whole file's bytes) is a picture whose pixel data it ends before: a bitmap
// ("BM") whose uncompressed rows lie past its end or whose run-length codes stop before the last
// row and the end-of-bitmap code, or a GIF whose first image's data blocks run past its end or
// lack their terminator, or a PNG one of whose chunks runs past its end (its reader would
// allocate the chunk's stated length first). Readers fill such missing pixels silently. Any
// other file gives false.
bool IsCutShort(std::span<const std::uint8_t> file);
