#pragma once

#include <cstdint>
#include <span>

// True when the file is an uncompressed bitmap (starting "BM", with the 12-byte core header or
// an info header of 40 bytes or more) whose header places pixel rows beyond the file's end. Image
// readers fill such missing rows silently. header: the file's first bytes (54 are enough);
// fileSize: its length. Any other file, compressed bitmaps included, gives false.
bool IsTruncatedBitmap(std::span<const std::uint8_t> header, std::uint64_t fileSize);
