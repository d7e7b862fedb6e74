#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

// The image as a JPEG file at the encoder's default quality, as the program itself
// stores pictures. Throws std::runtime_error when encoding fails.
std::vector<std::uint8_t> JpegBytes(const QImage& image);
