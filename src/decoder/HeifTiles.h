#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "core/layout/SkinLayout.h"
#include "decoder/PictureDecoder.h"

// A HEIF file (its whole bytes) whose primary image is a grid without alpha or crop, as phones
// write them, decoded a row of tiles at a time: each tile by libheif (its colour converted as
// libheif converts it for the whole grid), each row stretched into the picture as it comes
// (BandStretch), so that the grid's canvas is never held; what is held is one row of tiles, the
// few picture rows the stretch still needs, and for the tiles decoding side by side (one per
// processor) the codec's own. Made into DecodePicture's as FinishedPicture makes one, turned by
// the grid's rotation and mirroring. nullopt when the primary image is no such grid (DecodeHeif
// decodes it whole then); a refusal when the grid is damaged, its tiles do not cover its canvas,
// or what it holds would exceed DecodeLimits (checked before anything of that size is taken).
std::optional<DecodedPicture> DecodedTileByTile(std::span<const std::uint8_t> bytes,
                                                layout::Size size);
