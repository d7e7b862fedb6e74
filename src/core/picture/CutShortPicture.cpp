#include "core/picture/CutShortPicture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/io/ByteOrder.h"

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kCoreHeaderSize = 12;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kRunLength8 = 1;
constexpr std::uint32_t kRunLength4 = 2;
constexpr std::uint32_t kBitFields = 3;

// The size of a signed 32-bit field.
std::uint64_t Magnitude(std::uint32_t raw) {
    return static_cast<std::uint64_t>(
        std::abs(static_cast<std::int64_t>(static_cast<std::int32_t>(raw))));
}

bool RowsPastEnd(Bytes file, std::uint64_t pixelOffset, std::uint64_t width, std::uint64_t height,
                 std::uint64_t bitsPerPixel) {
    const std::uint64_t size = file.size();
    const std::uint64_t rowBytes = (bitsPerPixel * width + 31) / 32 * 4;  // at most 2^47
    if (rowBytes != 0 && height > (size - std::min(size, pixelOffset)) / rowBytes) return true;
    return pixelOffset > size;
}

// Walks the codes from pixelOffset: each code takes at least two bytes, so the walk ends.
bool RunsEndEarly(Bytes file, std::uint64_t pixelOffset, std::uint64_t height, bool fourBit) {
    if (pixelOffset > file.size()) return true;
    std::size_t at = static_cast<std::size_t>(pixelOffset);
    std::uint64_t row = 0;
    while (row < height) {
        if (file.size() - at < 2) return true;
        const std::uint8_t count = file[at];
        const std::uint8_t code = file[at + 1];
        at += 2;
        if (count != 0) continue;  // a run of one value
        if (code == 0) {           // end of line
            ++row;
        } else if (code == 1) {  // end of bitmap
            return false;
        } else if (code == 2) {  // move right and down
            if (file.size() - at < 2) return true;
            row += file[at + 1];
            at += 2;
        } else {  // this many pixels follow as they are, padded to an even byte count
            std::size_t bytes = fourBit ? (code + 1u) / 2 : code;
            bytes += bytes % 2;
            if (file.size() - at < bytes) return true;
            at += bytes;
        }
    }
    return false;
}

bool IsCutShortBitmap(Bytes file) {
    if (file.size() < kFileHeaderSize + 4) return true;
    const std::uint64_t pixelOffset = LoadLittle32(&file[10]);
    const std::uint32_t infoSize = LoadLittle32(&file[kFileHeaderSize]);
    if (infoSize == kCoreHeaderSize) {
        // The old core header: 16-bit width and height, never compressed.
        if (file.size() < kFileHeaderSize + kCoreHeaderSize) return true;
        return RowsPastEnd(file, pixelOffset, LoadLittle16(&file[18]), LoadLittle16(&file[20]),
                           LoadLittle16(&file[24]));
    }
    if (infoSize < kInfoHeaderSize) return false;
    if (file.size() < kFileHeaderSize + kInfoHeaderSize) return true;
    const std::uint32_t compression = LoadLittle32(&file[30]);
    const std::uint64_t height = Magnitude(LoadLittle32(&file[22]));  // negative: rows top first
    switch (compression) {
        case kUncompressed:
        case kBitFields:
            return RowsPastEnd(file, pixelOffset, Magnitude(LoadLittle32(&file[18])), height,
                               LoadLittle16(&file[28]));
        case kRunLength8:
        case kRunLength4:
            return RunsEndEarly(file, pixelOffset, height, compression == kRunLength4);
        default:
            return false;
    }
}

// Steps over data sub-blocks (a length byte, that many bytes) up to the empty one; false when
// they run past the end.
bool SkipSubBlocks(Bytes file, std::size_t& at) {
    while (at < file.size()) {
        const std::size_t length = file[at++];
        if (length == 0) return true;
        if (file.size() - at < length) return false;
        at += length;
    }
    return false;
}

// Steps over a colour table when packed (a descriptor's flags byte) says one follows.
bool SkipColourTable(Bytes file, std::size_t& at, std::uint8_t packed) {
    if ((packed & 0x80) == 0) return true;
    const std::size_t bytes = std::size_t{3} << ((packed & 0x07) + 1);
    if (file.size() - at < bytes) return false;
    at += bytes;
    return true;
}

bool IsCutShortGif(Bytes file) {
    constexpr std::size_t kScreenEnd = 13;  // signature and logical screen descriptor
    constexpr std::size_t kImageDescriptorRest = 9;
    if (file.size() < kScreenEnd) return true;
    std::size_t at = kScreenEnd;
    if (!SkipColourTable(file, at, file[10])) return true;
    while (at < file.size()) {
        const std::uint8_t introducer = file[at++];
        if (introducer == 0x21) {  // extension: a label, then sub-blocks
            if (at == file.size()) return true;
            ++at;
            if (!SkipSubBlocks(file, at)) return true;
        } else if (introducer == 0x2C) {  // the first image
            if (file.size() - at < kImageDescriptorRest) return true;
            const std::uint8_t packed = file[at + 8];
            at += kImageDescriptorRest;
            if (!SkipColourTable(file, at, packed) || at == file.size()) return true;
            ++at;  // the code size
            return !SkipSubBlocks(file, at);
        } else {
            return false;  // the trailer or a damaged block: no image data to miss
        }
    }
    return true;
}

// A chunk (length, type, data, checksum) that runs past the end: libpng allocates a text chunk
// at its stated length before it reads it, gigabytes for a few bytes of file.
bool IsCutShortPng(Bytes file) {
    constexpr std::size_t kSignature = 8;
    constexpr std::size_t kChunkFrame = 12;
    std::size_t at = kSignature;
    while (file.size() - at >= kChunkFrame) {
        const std::uint64_t length = LoadBig32(&file[at]);
        if (std::memcmp(&file[at + 4], "IEND", 4) == 0) return false;
        if (file.size() - at - kChunkFrame < length) return true;
        at += kChunkFrame + static_cast<std::size_t>(length);
    }
    return at != file.size();
}

bool StartsWith(Bytes file, const char* text) {
    const std::size_t length = std::strlen(text);
    return file.size() >= length && std::memcmp(file.data(), text, length) == 0;
}

}  // namespace

bool IsCutShort(std::span<const std::uint8_t> file) {
    if (StartsWith(file, "BM")) return IsCutShortBitmap(file);
    if (StartsWith(file, "GIF87a") || StartsWith(file, "GIF89a")) return IsCutShortGif(file);
    if (StartsWith(file, "\x89PNG\r\n\x1a\n")) return IsCutShortPng(file);
    return false;
}
