#pragma once

#include <cstdint>

#include "support/ByteFiles.h"
#include "support/ExifChunks.h"

// Picture files made byte by byte: bitmaps of every header and pixel layout writers use, 6 x 5
// pixels each, and a small GIF; the forms a reader must take, whole, and the forms a check for
// cut files must judge.
namespace test {

inline constexpr std::uint32_t kRunLength8 = 1;
inline constexpr std::uint32_t kRunLength4 = 2;
inline constexpr std::uint32_t kBitFields = 3;

struct BitmapCase {
    const char* name;
    std::uint32_t headerSize;  // 12: the old core header
    std::uint16_t bitsPerPixel;
    std::uint32_t compression;
    bool topDown;
};

inline void PutLittle16(Bytes& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

// Five rows of 6 pixels. A run-length bitmap's rows mix runs and absolute pixels; its third row
// is skipped by a move down, and the end-of-bitmap code follows the last row directly.
inline Bytes Pixels(const BitmapCase& c) {
    constexpr int kWidth = 6;
    constexpr int kHeight = 5;
    Bytes data;
    for (int row = 0; row < kHeight; ++row) {
        if (c.compression == kRunLength8) {
            if (row == 2) continue;
            data.insert(data.end(), {0x00, 0x03, 0x11, 0x22, 0x33, 0x00, 0x03, 0x44});
        } else if (c.compression == kRunLength4) {
            if (row == 2) continue;
            // Zero pixels that would read as an end of line if their count were misjudged.
            data.insert(data.end(), {0x00, 0x05, 0x12, 0x00, 0x00, 0x00, 0x01, 0x66});
        } else {
            Bytes bytes((c.bitsPerPixel * kWidth + 31) / 32 * 4, static_cast<std::uint8_t>(row));
            data.insert(data.end(), bytes.begin(), bytes.end());
            continue;
        }
        if (row == 1) data.insert(data.end(), {0x00, 0x02, 0x00, 0x01});  // down one row
        if (row != kHeight - 1) data.insert(data.end(), {0x00, 0x00});
    }
    if (c.compression == kRunLength8 || c.compression == kRunLength4)
        data.insert(data.end(), {0x00, 0x01});
    return data;
}

inline Bytes Bitmap(const BitmapCase& c) {
    Bytes file(14 + c.headerSize, 0);
    file[0] = 'B';
    file[1] = 'M';
    test::PutLittle32(file, 14, c.headerSize);
    if (c.headerSize == 12) {
        PutLittle16(file, 18, 6);
        PutLittle16(file, 20, 5);
        PutLittle16(file, 22, 1);
        PutLittle16(file, 24, c.bitsPerPixel);
    } else {
        test::PutLittle32(file, 18, 6);
        test::PutLittle32(file, 22, c.topDown ? static_cast<std::uint32_t>(-5) : 5);
        PutLittle16(file, 26, 1);
        PutLittle16(file, 28, c.bitsPerPixel);
        test::PutLittle32(file, 30, c.compression);
    }
    if (c.compression == kBitFields) {
        const Bytes masks = Hex("00F80000 E0070000 1F000000");  // 5-6-5
        if (c.headerSize == 40)
            file.insert(file.end(), masks.begin(), masks.end());
        else
            std::copy(masks.begin(), masks.end(), file.begin() + 54);
    }
    if (c.bitsPerPixel <= 8) {
        const std::size_t entry = c.headerSize == 12 ? 3 : 4;
        file.resize(file.size() + (entry << c.bitsPerPixel), 0x7F);  // the palette
    }
    test::PutLittle32(file, 10, static_cast<std::uint32_t>(file.size()));
    const Bytes pixels = Pixels(c);
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

inline const BitmapCase kBitmaps[] = {
    {"core header, 24-bit", 12, 24, 0, false},
    {"core header, 8-bit palette", 12, 8, 0, false},
    {"info header, 24-bit", 40, 24, 0, false},
    {"info header, 24-bit, rows top first", 40, 24, 0, true},
    {"info header, 8-bit palette", 40, 8, 0, false},
    {"info header, 16-bit bitfields", 40, 16, kBitFields, false},
    {"info header, 8-bit run-length", 40, 8, kRunLength8, false},
    {"info header, 4-bit run-length", 40, 4, kRunLength4, false},
    {"56-byte header, 16-bit bitfields, rows top first", 56, 16, kBitFields, true},
    {"108-byte header, 32-bit", 108, 32, 0, false},
    {"108-byte header, 8-bit run-length", 108, 8, kRunLength8, false},
    {"124-byte header, 24-bit, rows top first", 124, 24, 0, true},
    {"124-byte header, 4-bit run-length", 124, 4, kRunLength4, false},
};

// A 1 x 1 GIF: screen with a two-colour table, a graphic control and a comment extension, the
// image and its data, the trailer.
inline const Bytes kOnePixelGif =
    Hex("474946383961 0100 0100 80 00 00"
        "000000 FFFFFF"
        "21 F9 04 01000000 00"
        "21 FE 05 68656C6C6F 00"
        "2C 0000 0000 0100 0100 00"
        "02 02 4C01 00"
        "3B");

}  // namespace test
