#include <gtest/gtest.h>

#include "core/io/ByteOrder.h"
#include "core/library/CutShortPicture.h"
#include "support/ByteFiles.h"
#include "support/ExifChunks.h"

namespace {

using test::Bytes;

constexpr std::uint32_t kRunLength8 = 1;
constexpr std::uint32_t kRunLength4 = 2;
constexpr std::uint32_t kBitFields = 3;

struct BitmapCase {
    const char* name;
    std::uint32_t headerSize;  // 12: the old core header
    std::uint16_t bitsPerPixel;
    std::uint32_t compression;
    bool topDown;
};

void PutLittle16(Bytes& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

// Five rows of 6 pixels. A run-length bitmap's rows mix runs and absolute pixels; its third row
// is skipped by a move down, and the end-of-bitmap code follows the last row directly.
Bytes Pixels(const BitmapCase& c) {
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

Bytes Bitmap(const BitmapCase& c) {
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

Bytes Cut(const Bytes& bytes, std::size_t size) { return {bytes.begin(), bytes.begin() + size}; }

const BitmapCase kBitmaps[] = {
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

TEST(CutShortPictureTest, BitmapIsWholeUntilItsPixelDataIsCut) {
    for (const BitmapCase& c : kBitmaps) {
        SCOPED_TRACE(c.name);
        const Bytes whole = Bitmap(c);
        EXPECT_FALSE(IsCutShort(whole));
        const std::size_t pixelOffset = LoadLittle32(&whole[10]);
        for (std::size_t size :
             {whole.size() - 1, (pixelOffset + whole.size()) / 2, pixelOffset, std::size_t{20}}) {
            SCOPED_TRACE(size);
            EXPECT_TRUE(IsCutShort(Cut(whole, size)));
        }
    }
}

TEST(CutShortPictureTest, RunLengthBitmapWhoseRowsAllEndIsWholeWithoutEndCode) {
    Bytes file = Bitmap(kBitmaps[6]);
    file.resize(file.size() - 2);  // the end-of-bitmap code
    EXPECT_TRUE(IsCutShort(file));
    file.insert(file.end(), {0x00, 0x00});  // the last row's end of line instead
    EXPECT_FALSE(IsCutShort(file));
}

TEST(CutShortPictureTest, BitmapHeaderClaimingBillionsOfRowsIsCutShort) {
    Bytes file = Bitmap(kBitmaps[2]);
    for (std::size_t at : {18, 22}) file[at + 3] = 0x7F;  // about 2^31 by 2^31 pixels
    EXPECT_TRUE(IsCutShort(file));
}

// A 1 x 1 GIF: screen with a two-colour table, a graphic control and a comment extension, the
// image and its data, the trailer.
const Bytes kGif =
    Hex("474946383961 0100 0100 80 00 00"
        "000000 FFFFFF"
        "21 F9 04 01000000 00"
        "21 FE 05 68656C6C6F 00"
        "2C 0000 0000 0100 0100 00"
        "02 02 4C01 00"
        "3B");

TEST(CutShortPictureTest, GifIsCutShortUntilItsFirstImageDataEnds) {
    const struct {
        const char* name;
        Bytes file;
        bool cutShort;
    } cases[] = {
        {"whole", kGif, false},
        {"no trailer", Cut(kGif, kGif.size() - 1), false},
        {"missing data terminator", Cut(kGif, kGif.size() - 2), true},
        {"cut in the data", Cut(kGif, kGif.size() - 3), true},
        {"cut in the image descriptor", Cut(kGif, 40), true},
        {"cut before the image", Cut(kGif, 36), true},
        {"cut in the comment", Cut(kGif, 30), true},
        {"cut in the colour table", Cut(kGif, 15), true},
        {"only a signature", Cut(kGif, 6), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsCutShort(c.file), c.cutShort);
    }
}

TEST(CutShortPictureTest, OtherFilesAreNeverCutShort) {
    Bytes jpegInBitmap = Bitmap(kBitmaps[2]);
    jpegInBitmap[30] = 4;  // the rows are a JPEG stream, judged by its own reader
    for (const Bytes& file :
         {Bytes{}, Hex("89504E470D0A1A0A"), Hex("FFD8FFE0"), Hex("474946"), Cut(jpegInBitmap, 60)})
        EXPECT_FALSE(IsCutShort(file));
}

}  // namespace
