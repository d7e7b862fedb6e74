#pragma once

#include <QImage>
#include <QSize>
#include <cstddef>
#include <cstdint>
#include <span>

// HEIC, HEIF and AVIF through libheif, with our threaded HEVC decoder in front of its own.

// libheif's codecs, loaded once for the whole run: call before the first DecodeHeif, and before
// the process is sealed.
void InitialiseHeif();

// True when bytes start with a file type box, as every HEIF file does. Which brands it decodes
// is libheif's to say, when it reads the file: its own quick check knows fewer than it reads.
bool StartsWithFileTypeBox(std::span<const std::uint8_t> bytes);

// Decodes the primary image of a HEIF file's bytes (HEVC in HEIC, AV1 in AVIF) with libheif,
// upright (the file's own rotation, mirroring and crop applied), stretched to exactly size, with
// its alpha when it has one. Tiled images, as phones write them, decode on several threads.
// Returns a null image when the file is damaged, cut short, of a coding libheif cannot decode,
// or declares a size, or states a grid or overlay canvas, beyond DecodeLimits (refused before
// anything of that size is allocated).
QImage DecodeHeif(std::span<const std::uint8_t> bytes, const QSize& size);
