#pragma once

#include <QImage>
#include <QSize>
#include <cstddef>
#include <cstdint>
#include <span>

// The HEIF module (corvalin-heif.so), which alone links libheif and its codecs. The game loads
// it the first time it decodes a HEIF picture (HeifModule.h), so that start-up maps none of them.

// Decodes the primary image of a HEIF file's bytes (HEVC in HEIC, AV1 in AVIF) with libheif,
// upright (the file's own rotation, mirroring and crop applied), stretched to exactly size.
// Tiled images, as phones write them, decode on several threads. Returns a null image when
// the file is damaged, cut short, of a coding libheif cannot decode, or declares a size
// beyond DecodeLimits (refused before anything of that size is allocated).
QImage DecodeHeif(std::span<const std::uint8_t> bytes, const QSize& size);

// The module's one entry point, looked up by this name: DecodeHeif of count bytes into *image.
// Built with the game against the same Qt, so Qt types cross it.
extern "C" void CorvalinDecodeHeif(const std::uint8_t* bytes, std::size_t count, const QSize* size,
                                   QImage* image);
using HeifEntryPoint = decltype(&CorvalinDecodeHeif);
