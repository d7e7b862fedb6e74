#pragma once

#include <cstdint>
#include <span>

#include "decoder/StoredPicture.h"

bool LooksLikeWebp(std::span<const std::uint8_t> bytes);

// Decodes a WebP through libwebp: a still picture whole, an animation's first frame laid on its
// canvas by libwebp's demuxer; with its ICC profile and its EXIF orientation. Refused when
// libwebp reports anything but success, such as data that ends early.
MaybePicture DecodeWebp(std::span<const std::uint8_t> bytes);
