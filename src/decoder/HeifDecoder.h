#pragma once

#include <cstdint>
#include <span>

#include "core/layout/SkinLayout.h"
#include "decoder/PictureDecoder.h"
#include "decoder/StoredPicture.h"

// HEIC, HEIF and AVIF through libheif, with our threaded HEVC decoder in front of its own.

// libheif's codecs, loaded once for the whole run: call before the first DecodeHeif, and before
// the process is sealed.
void InitialiseHeif();

// Decodes the primary image of a HEIF file's bytes (HEVC in HEIC, AV1 in AVIF) with libheif,
// upright (the file's own rotation, mirroring and crop applied), with its alpha and its ICC
// profile. Tiled images, as phones write them, decode on several threads. Refused when the file
// is damaged, cut short, of a coding libheif cannot decode, or declares a size, or states a grid
// or overlay canvas, beyond DecodeLimits (refused before anything of that size is allocated).
MaybePicture DecodeHeif(std::span<const std::uint8_t> bytes);

// A HEIF file's primary image made into DecodePicture's (FinishedPicture): a grid without alpha
// or a crop (as phones write them) decoded a row of tiles at a time and stretched as it comes
// (HeifTiles.h), so that its canvas is never held whole; any other image through DecodeHeif.
DecodedPicture DecodeHeifPicture(std::span<const std::uint8_t> bytes, layout::Size size);
