#pragma once

// EXIF orientation put into picture files the way cameras and editors put it: a JPEG APP1
// segment, a PNG eXIf chunk, a WebP EXIF chunk. Plain bytes, no image library.

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace test {

using Bytes = std::vector<std::uint8_t>;

// The parts one after another, as a file holds them.
inline Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes bytes;
    for (const Bytes& part : parts) bytes.insert(bytes.end(), part.begin(), part.end());
    return bytes;
}

inline void PutBig32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

inline void PutLittle32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The checksum of a PNG chunk (CRC-32 over its type and data).
inline std::uint32_t PngChunkCrc(const std::uint8_t* bytes, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

// A TIFF structure of one directory with one entry: orientation (tag 0x0112), one value of
// type (3, a SHORT, as the standard has it; cameras also write 1 BYTE, 4 LONG and the signed
// 6, 8, 9), stored from the start of the value field as its width puts it.
inline Bytes TiffWithOrientation(int orientation, bool bigEndian, std::uint8_t type = 3) {
    const std::size_t width = type == 1 || type == 6 ? 1 : type == 3 || type == 8 ? 2 : 4;
    Bytes value(4, 0);
    value[bigEndian ? width - 1 : 0] = static_cast<std::uint8_t>(orientation);
    if (bigEndian)
        return Join({{'M', 'M', 0, 42, 0, 0, 0, 8,       // byte order, magic, directory at 8
                      0, 1,                              // one entry
                      0x01, 0x12, 0, type, 0, 0, 0, 1},  // orientation, its type, 1 value
                     value,
                     {0, 0, 0, 0}});  // no next directory
    return Join({{'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 0x01, type, 0, 1, 0, 0, 0},
                 value,
                 {0, 0, 0, 0}});
}

inline Bytes WithExifHeader(const Bytes& tiff) {
    return Join({Bytes{'E', 'x', 'i', 'f', 0, 0}, tiff});
}

// An APP1 segment holding exif ("Exif\0\0" and TIFF) right after the start marker.
inline Bytes JpegWithExif(Bytes jpeg, const Bytes& exif) {
    const std::size_t length = exif.size() + 2;
    Bytes segment{0xFF, 0xE1, static_cast<std::uint8_t>(length >> 8),
                  static_cast<std::uint8_t>(length)};
    segment.insert(segment.end(), exif.begin(), exif.end());
    jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
    return jpeg;
}

// A PNG chunk: length, type, data, checksum.
inline Bytes PngChunk(std::string_view type, const Bytes& data) {
    Bytes chunk(8 + data.size() + 4);
    PutBig32(chunk, 0, static_cast<std::uint32_t>(data.size()));
    std::copy(type.begin(), type.end(), chunk.begin() + 4);
    std::copy(data.begin(), data.end(), chunk.begin() + 8);
    PutBig32(chunk, 8 + data.size(), PngChunkCrc(chunk.data() + 4, 4 + data.size()));
    return chunk;
}

// An eXIf chunk holding exif after the header chunk (signature 8 bytes, IHDR 25).
inline Bytes PngWithExif(Bytes png, const Bytes& exif) {
    constexpr std::ptrdiff_t kAfterHeader = 8 + 25;
    const Bytes chunk = PngChunk("eXIf", exif);
    png.insert(png.begin() + kAfterHeader, chunk.begin(), chunk.end());
    return png;
}

// A RIFF chunk: type, size, data and a pad byte after odd data.
inline Bytes RiffChunk(std::string_view type, const Bytes& data) {
    Bytes chunk(8 + data.size() + data.size() % 2);
    std::copy(type.begin(), type.end(), chunk.begin());
    PutLittle32(chunk, 4, static_cast<std::uint32_t>(data.size()));
    std::copy(data.begin(), data.end(), chunk.begin() + 8);
    return chunk;
}

// A simple WebP file (one VP8 or VP8L chunk) of width by height made extended: a VP8X chunk
// announcing EXIF, the image chunk, an EXIF chunk holding exif.
inline Bytes WebpWithExif(const Bytes& webp, int width, int height, const Bytes& exif) {
    constexpr std::uint8_t kExifFlag = 0x08;
    const auto w = static_cast<std::uint32_t>(width - 1),
               h = static_cast<std::uint32_t>(height - 1);
    const Bytes extended{kExifFlag,
                         0,
                         0,
                         0,
                         static_cast<std::uint8_t>(w),
                         static_cast<std::uint8_t>(w >> 8),
                         static_cast<std::uint8_t>(w >> 16),
                         static_cast<std::uint8_t>(h),
                         static_cast<std::uint8_t>(h >> 8),
                         static_cast<std::uint8_t>(h >> 16)};
    Bytes out = Join({Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'E', 'B', 'P'},
                      RiffChunk("VP8X", extended), Bytes(webp.begin() + 12, webp.end()),
                      RiffChunk("EXIF", exif)});
    PutLittle32(out, 4, static_cast<std::uint32_t>(out.size() - 8));
    return out;
}

}  // namespace test
