#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>
#include <span>

// Decodes the primary image of a HEIF file's bytes (HEVC in HEIC, AV1 in AVIF) with libheif,
// upright (the file's own rotation, mirroring and crop applied), stretched to exactly size.
// Tiled images, as phones write them, decode on several threads. Returns a null image when
// the file is damaged, cut short, of a coding libheif cannot decode, or declares a size
// beyond DecodeLimits (refused before anything of that size is allocated).
QImage DecodeHeif(std::span<const std::uint8_t> bytes, const QSize& size);

// True when bytes start as a HEIF or AVIF file does.
bool LooksLikeHeif(std::span<const std::uint8_t> bytes);
