#include "core/library/TruncatedBitmap.h"

#include <algorithm>
#include <cstdlib>

#include "core/io/ByteOrder.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kCoreHeaderSize = 12;
constexpr std::size_t kHeadersSize = 54;
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;

// The size of a signed 32-bit field.
std::uint64_t Magnitude(std::uint32_t raw) {
    return static_cast<std::uint64_t>(
        std::abs(static_cast<std::int64_t>(static_cast<std::int32_t>(raw))));
}

}  // namespace

bool IsTruncatedBitmap(std::span<const std::uint8_t> header, std::uint64_t fileSize) {
    if (header.size() < kFileHeaderSize + 4 || header[0] != 'B' || header[1] != 'M') return false;
    const std::uint32_t infoSize = LoadLittle32(&header[kFileHeaderSize]);
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    std::uint64_t bitsPerPixel = 0;
    if (infoSize == kCoreHeaderSize) {
        // The old core header: 16-bit width and height, never compressed.
        if (header.size() < kFileHeaderSize + kCoreHeaderSize) return false;
        width = LoadLittle16(&header[18]);
        height = LoadLittle16(&header[20]);
        bitsPerPixel = LoadLittle16(&header[24]);
    } else {
        if (header.size() < kHeadersSize || infoSize < 40) return false;
        const std::uint32_t compression = LoadLittle32(&header[30]);
        if (compression != kUncompressed && compression != kBitFields) return false;
        width = Magnitude(LoadLittle32(&header[18]));
        height = Magnitude(LoadLittle32(&header[22]));  // negative: rows top first
        bitsPerPixel = LoadLittle16(&header[28]);
    }
    const std::uint64_t pixelOffset = LoadLittle32(&header[10]);
    const std::uint64_t rowBytes = (bitsPerPixel * width + 31) / 32 * 4;  // at most 2^47
    if (rowBytes != 0 && height > (fileSize - std::min(fileSize, pixelOffset)) / rowBytes)
        return true;
    return pixelOffset > fileSize;
}
