#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The uncompressed 24-bit bitmap file of a picture given as rows top first, three bytes a pixel
// (red, green, blue), width x height pixels (rgb holds that many): a 14-byte file header ("BM",
// file size, two reserved zeros, pixel offset 54), a 40-byte info header (width, positive height,
// one plane, 24 bits, no compression, every other field 0), then the rows bottom first, each as
// blue, green, red bytes padded with zeros to a multiple of 4. No colour table. 400 x 300 gives
// 54 + 300 x 1200 = 360,054 bytes.
std::vector<std::uint8_t> BitmapFileBytes(std::span<const std::uint8_t> rgb, int width, int height);

// Writes BitmapFileBytes to path, replacing any file there. False when the file cannot be
// created or written whole.
bool WriteBitmapFile(std::span<const std::uint8_t> rgb, int width, int height,
                     const std::string& path);
