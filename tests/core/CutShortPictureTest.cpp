#include <gtest/gtest.h>

#include "core/io/ByteOrder.h"
#include "core/picture/CutShortPicture.h"
#include "support/ByteFiles.h"
#include "support/ExifChunks.h"
#include "support/PictureBytes.h"

namespace {

using test::Bitmap;
using test::BitmapCase;
using test::Bytes;
using test::kBitmaps;
using test::kRunLength8;

Bytes Cut(const Bytes& bytes, std::size_t size) { return {bytes.begin(), bytes.begin() + size}; }

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
    file.erase(file.end() - 2, file.end());  // the end-of-bitmap code
    EXPECT_TRUE(IsCutShort(file));
    file.insert(file.end(), {0x00, 0x00});  // the last row's end of line instead
    EXPECT_FALSE(IsCutShort(file));
}

TEST(CutShortPictureTest, BitmapHeaderClaimingBillionsOfRowsIsCutShort) {
    Bytes file = Bitmap(kBitmaps[2]);
    for (std::size_t at : {18, 22}) file[at + 3] = 0x7F;  // about 2^31 by 2^31 pixels
    EXPECT_TRUE(IsCutShort(file));
}

const Bytes& kGif = test::kOnePixelGif;

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

TEST(CutShortPictureTest, PngIsCutShortWhenAChunkRunsPastItsEnd) {
    const std::string corpus = CORVALIN_FUZZ_CORPUS "/picture_import/";
    const Bytes png = ReadBytes(corpus + "png-3x2");
    EXPECT_FALSE(IsCutShort(png));
    EXPECT_FALSE(IsCutShort(ReadBytes(corpus + "png-exif-orientation-6")));
    for (std::size_t size : {png.size() - 1, png.size() - 13, std::size_t{20}}) {
        SCOPED_TRACE(size);
        EXPECT_TRUE(IsCutShort(Cut(png, size)));
    }
    // A text chunk of 1.7 GB in a file of 435 bytes.
    EXPECT_TRUE(IsCutShort(ReadBytes(corpus + "png-text-chunk-stating-1.7-gigabytes")));
}
