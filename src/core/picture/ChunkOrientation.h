#pragma once

#include <cstdint>
#include <optional>
#include <span>

// The EXIF orientation (1 to 8, see ExifOrientation) that a whole PNG file's eXIf chunk or a
// WebP file's EXIF chunk asks for: 1 when the file has none, or when it or its chunk walk is
// damaged (a picture is never refused for its EXIF). Nullopt when the bytes are neither PNG nor
// WebP. The chunk may hold the TIFF structure alone or after an "Exif\0\0" header, as writers
// differ. Only the chunk headers inside the bytes are read; a chunk length that runs past the
// end stops the walk.
std::optional<int> ChunkOrientation(std::span<const std::uint8_t> file);
