#pragma once

#include <cstdint>

// What a player's picture may cost to decode, whatever its format. Checked against the sizes a
// file declares, before anything of that size is allocated, so a crafted header cannot make the
// import reach for gigabytes.

// Larger files are refused unread: the biggest real photos are a fraction of this.
inline constexpr std::uint64_t kMaxPictureFileBytes = 256ull << 20;
// The most memory one decoded image (or a decoder's full-size working buffers) may take.
inline constexpr std::uint64_t kMaxDecodeBytes = 512ull << 20;
// No side of a picture may be longer: both JPEG and common HEIF decoders stop below it.
inline constexpr std::uint32_t kMaxPictureSide = 65535;

// True when a picture of width x height, whose decoder holds bytesPerPixel bytes for each of
// its pixels at full size, may be decoded.
inline bool DeclaredSizeAcceptable(std::uint64_t width, std::uint64_t height,
                                   std::uint64_t bytesPerPixel) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height * bytesPerPixel <= kMaxDecodeBytes;
}
