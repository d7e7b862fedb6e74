#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/layout/SkinLayout.h"
#include "core/picture/RgbaImage.h"

struct jpeg_decompress_struct;

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

// Whether a JPEG file's bytes decode whole: every row, and no warning of pixels lost on the way
// (JpegDamage). False when they do not decode at all.
bool JpegDecodesWhole(std::span<const std::uint8_t> bytes);

// What libjpeg's warnings during one decode tell of its pixels, the same for every reader of
// ours. Only warnings about bytes that carry no pixels leave the picture whole; data that ends
// without an end marker leaves it whole only when every scan came.
class JpegDamage {
public:
    // Each warning's code, as libjpeg's emit_message has it at level -1.
    void Warned(int code);
    // After the last row is read, before the decode is finished.
    bool PixelsWhole(const jpeg_decompress_struct& info) const;

private:
    bool m_pixelsLost = false;
    bool m_dataEnded = false;
};
