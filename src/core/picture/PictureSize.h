#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/layout/SkinLayout.h"

// The size of a package's picture, JPEG as the game's packages hold them, or a bitmap; nullopt
// for bytes of any other kind.

// Whether bytes start as a JPEG file (a start-of-image marker and another marker), and as a
// bitmap file.
bool IsJpegFile(std::span<const std::uint8_t> bytes);
bool IsBitmapFile(std::span<const std::uint8_t> bytes);

// As the picture's header states it, read without decoding its pixels; nullopt when the header
// does not read.
std::optional<layout::Size> StatedPictureSize(std::span<const std::uint8_t> bytes);

// As the picture decodes, every row of it; nullopt when it does not decode.
std::optional<layout::Size> DecodedPictureSize(std::span<const std::uint8_t> bytes);

// Whether the picture decodes with every pixel: a JPEG with no warning of pixels lost (cut short,
// a damaged scan), a bitmap with every row. False for bytes of any other kind.
bool PictureDecodesWhole(std::span<const std::uint8_t> bytes);

// "WIDTHxHEIGHT".
std::string SizeText(layout::Size size);
