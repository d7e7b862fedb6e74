#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/layout/SkinLayout.h"
#include "core/picture/RgbaImage.h"

// The JPEG files of the library's pictures, through libjpeg(-turbo), which every image reader
// of the game's also uses for JPEG.

// The JPEG file of image (alpha ignored) with the encoder's default settings, as an image
// library writes it when given no parameters: quality 75, baseline, colour in Y'CbCr with
// chroma halved both ways, standard Huffman tables, a JFIF header stating 100 dots an inch.
// Empty when the image is empty.
std::vector<std::uint8_t> EncodeJpeg(const RgbaImage& image);

// The width and height a JPEG file's header states, its pixels not decoded; nullopt when the
// header does not read.
std::optional<layout::Size> StatedJpegSize(std::span<const std::uint8_t> bytes);

// The width and height of the picture a JPEG file's bytes decode to, every row decoded; what the
// decoder only warns about (data ending early, as image readers fill it in) does not count;
// nullopt when they do not decode.
std::optional<layout::Size> DecodedJpegSize(std::span<const std::uint8_t> bytes);
