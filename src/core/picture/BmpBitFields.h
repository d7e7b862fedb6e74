#pragma once

#include <cstdint>
#include <vector>

// The masks that say where red, green, blue and alpha lie in a stored bitmap pixel (its bytes
// read as a little-endian number). A zero mask is a channel the pixels do not hold.
struct BitFieldMasks {
    std::uint32_t red = 0;
    std::uint32_t green = 0;
    std::uint32_t blue = 0;
    std::uint32_t alpha = 0;
};

// True when every mask is one run of set bits, or zero.
bool BitFieldsContiguous(const BitFieldMasks& masks);

// Turns stored pixels of 2, 3 or 4 bytes into RGBA, each channel scaled exactly (rounded) from
// its mask's width to 8 bits. A missing colour reads 0, a missing alpha opaque. The masks must
// be contiguous.
class BitFieldUnpacker {
public:
    BitFieldUnpacker(const BitFieldMasks& masks, unsigned bytesPerPixel);

    // Reads width pixels from stored and writes width * 4 bytes to rgba.
    void UnpackRow(const std::uint8_t* stored, std::uint32_t width, std::uint8_t* rgba) const;

private:
    class Channel {
    public:
        Channel(std::uint32_t mask, std::uint8_t absent);
        std::uint8_t Value(std::uint32_t pixel) const;

    private:
        std::uint32_t mask_;
        unsigned shift_ = 0;
        std::uint32_t largest_ = 0;  // the mask shifted down: the channel's full value
        std::uint8_t absent_;
        std::vector<std::uint8_t> scaled_;  // for every value when the channel is narrow
    };

    Channel channels_[4];
    unsigned bytesPerPixel_;
};
