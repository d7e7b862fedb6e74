#pragma once

#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

// The uncompressed 24-bit bitmap file of an image: a 14-byte file header ("BM", file size,
// two reserved zeros, pixel offset 54), a 40-byte info header (width, positive height, one
// plane, 24 bits, no compression, every other field 0), then the rows bottom first, each as
// blue, green, red bytes padded with zeros to a multiple of 4. No colour table. Any alpha is
// dropped. 400 x 300 gives 54 + 300 x 1200 = 360,054 bytes.
std::vector<std::uint8_t> BitmapFileBytes(const QImage& bitmap);

// Writes BitmapFileBytes to path, replacing any file there. False when the file cannot be
// created or written whole.
bool WriteBitmapFile(const QImage& bitmap, const std::string& path);
