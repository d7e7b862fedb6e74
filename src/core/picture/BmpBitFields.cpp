#include "core/picture/BmpBitFields.h"

#include <bit>

namespace {

// Channels this wide or narrower scale through a table of every value (at most 64 KB).
constexpr unsigned kWidestTabled = 16;

std::uint8_t Scaled(std::uint64_t value, std::uint64_t largest) {
    return static_cast<std::uint8_t>((value * 255 + largest / 2) / largest);
}

bool Contiguous(std::uint32_t mask) {
    if (mask == 0) return true;
    const std::uint32_t shifted = mask >> std::countr_zero(mask);
    return (shifted & (shifted + 1)) == 0;
}

}  // namespace

bool BitFieldsContiguous(const BitFieldMasks& masks) {
    return Contiguous(masks.red) && Contiguous(masks.green) && Contiguous(masks.blue) &&
           Contiguous(masks.alpha);
}

BitFieldUnpacker::Channel::Channel(std::uint32_t mask, std::uint8_t absent)
    : mask_(mask), absent_(absent) {
    if (mask == 0) return;
    shift_ = static_cast<unsigned>(std::countr_zero(mask));
    largest_ = mask >> shift_;
    if (std::popcount(largest_) > static_cast<int>(kWidestTabled)) return;
    scaled_.resize(largest_ + 1);
    for (std::uint32_t value = 0; value <= largest_; ++value)
        scaled_[value] = Scaled(value, largest_);
}

std::uint8_t BitFieldUnpacker::Channel::Value(std::uint32_t pixel) const {
    if (mask_ == 0) return absent_;
    const std::uint32_t value = (pixel & mask_) >> shift_;
    return scaled_.empty() ? Scaled(value, largest_) : scaled_[value];
}

BitFieldUnpacker::BitFieldUnpacker(const BitFieldMasks& masks, unsigned bytesPerPixel)
    : channels_{{masks.red, 0}, {masks.green, 0}, {masks.blue, 0}, {masks.alpha, 255}},
      bytesPerPixel_(bytesPerPixel) {}

void BitFieldUnpacker::UnpackRow(const std::uint8_t* stored, std::uint32_t width,
                                 std::uint8_t* rgba) const {
    for (std::uint32_t x = 0; x < width; ++x, stored += bytesPerPixel_, rgba += 4) {
        std::uint32_t pixel = 0;
        for (unsigned byte = 0; byte < bytesPerPixel_; ++byte)
            pixel |= static_cast<std::uint32_t>(stored[byte]) << (8 * byte);
        for (int channel = 0; channel < 4; ++channel)
            rgba[channel] = channels_[channel].Value(pixel);
    }
}
