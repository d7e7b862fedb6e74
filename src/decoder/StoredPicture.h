#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "core/picture/RgbaImage.h"
#include "decoder/CodedColour.h"

// What a format's decoder gives: the picture as the file stores it, at its full size or at a
// size its decoder chose that still covers the picture asked for; the EXIF orientation (1 to 8)
// that shows it upright; and the ICC colour profile it carries, empty for sRGB, or without one,
// its colour stated as code points.
struct StoredPicture {
    RgbaImage image;
    int orientation = 1;
    std::vector<std::uint8_t> iccProfile;
    CodedColour codedColour;
    bool premultiplied = false;  // colours already multiplied by their alpha
    // The pixels left where the codec's library decoded them, image.pixels then empty: a
    // 12-megapixel photo copied would cost 48 MB more and the time to fill them. owner keeps
    // them; rows start rowBytes apart, with rowChannels bytes a pixel: 4, or 3 (red, green,
    // blue) for a picture without alpha. A plain release function, not a shared pointer: its
    // control block is polymorphic, and the sanitizers' first check of a new dynamic type
    // makes a system call the seal forbids.
    std::unique_ptr<void, void (*)(void*)> owner{nullptr, nullptr};
    std::uint8_t* rows = nullptr;
    std::size_t rowBytes = 0;
    int rowChannels = 4;
};

// The picture's pixels, wherever they are held: rows top first, channels bytes a pixel (red,
// green, blue and, when 4, alpha), rowBytes apart, writable.
struct PixelRows {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int channels = 4;
    std::uint8_t* pixels = nullptr;
    std::size_t rowBytes = 0;
};
PixelRows RowsOf(StoredPicture& picture);

// Each format's decoder (its own file beside this one) takes a whole file's bytes and gives
// nullopt for a file it refuses: damaged, cut short, or declaring a size beyond DecodeLimits,
// counted in the bytes a pixel takes in that decoder at full size.
using MaybePicture = std::optional<StoredPicture>;

// An image of width x height with every pixel transparent black, or an empty one (0 x 0) when
// the size is not acceptable (DecodeLimits, 4 bytes a pixel).
RgbaImage TransparentImage(std::uint32_t width, std::uint32_t height);
