#pragma once

#include <cstdint>

// What a player's picture may cost to decode, whatever its format. Checked against the sizes a
// file declares, before anything of that size is allocated, so a crafted header cannot make the
// import reach for gigabytes.

// Larger files are refused unread: the biggest real photos are a fraction of this.
inline constexpr std::uint64_t kMaxPictureFileBytes = 256ull << 20;
// The most memory a decoder may hold for one picture, counted as it really holds it (the image,
// the codec's planes or coefficients, its own copies): the sealed decoder's 1 GB less the largest
// input file, held beside it, and 64 MB for the codecs' tables, rows and threads.
inline constexpr std::uint64_t kSealedDecoderBytes = 1ull << 30;
inline constexpr std::uint64_t kMaxDecodeBytes =
    kSealedDecoderBytes - kMaxPictureFileBytes - (64ull << 20);
// No side of a picture may be longer: both JPEG and common HEIF decoders stop below it.
inline constexpr std::uint32_t kMaxPictureSide = 65535;

// True when a picture of width x height, whose decoder holds bytesPerPixel bytes for each of
// its pixels at full size, may be decoded.
inline bool DeclaredSizeAcceptable(std::uint64_t width, std::uint64_t height,
                                   std::uint64_t bytesPerPixel) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height * bytesPerPixel <= kMaxDecodeBytes;
}

// The same for a decoder whose holdings are counted whole, in bytes, for a picture of width x
// height.
inline bool DeclaredHoldingAcceptable(std::uint64_t width, std::uint64_t height,
                                      std::uint64_t bytes) {
    return DeclaredSizeAcceptable(width, height, 0) && bytes <= kMaxDecodeBytes;
}
