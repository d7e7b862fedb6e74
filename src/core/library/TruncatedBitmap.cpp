#include "core/library/TruncatedBitmap.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kCoreHeaderSize = 12;
constexpr std::size_t kHeadersSize = 54;
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;

std::uint32_t Read32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::uint16_t Read16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

// The size of a signed 32-bit field.
std::uint64_t Magnitude(std::uint32_t raw) {
    return static_cast<std::uint64_t>(
        std::abs(static_cast<std::int64_t>(static_cast<std::int32_t>(raw))));
}

}  // namespace

bool IsTruncatedBitmap(std::span<const std::uint8_t> header, std::uint64_t fileSize) {
    if (header.size() < kFileHeaderSize + 4 || header[0] != 'B' || header[1] != 'M') return false;
    const std::uint32_t infoSize = Read32(header, kFileHeaderSize);
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    std::uint64_t bitsPerPixel = 0;
    if (infoSize == kCoreHeaderSize) {
        // The old core header: 16-bit width and height, never compressed.
        if (header.size() < kFileHeaderSize + kCoreHeaderSize) return false;
        width = Read16(header, 18);
        height = Read16(header, 20);
        bitsPerPixel = Read16(header, 24);
    } else {
        if (header.size() < kHeadersSize || infoSize < 40) return false;
        const std::uint32_t compression = Read32(header, 30);
        if (compression != kUncompressed && compression != kBitFields) return false;
        width = Magnitude(Read32(header, 18));
        height = Magnitude(Read32(header, 22));  // negative: rows top first
        bitsPerPixel = Read16(header, 28);
    }
    const std::uint64_t pixelOffset = Read32(header, 10);
    const std::uint64_t rowBytes = (bitsPerPixel * width + 31) / 32 * 4;  // at most 2^47
    if (rowBytes != 0 && height > (fileSize - std::min(fileSize, pixelOffset)) / rowBytes)
        return true;
    return pixelOffset > fileSize;
}
