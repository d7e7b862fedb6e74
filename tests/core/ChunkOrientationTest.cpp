#include <gtest/gtest.h>

#include "core/picture/ChunkOrientation.h"
#include "support/ByteFiles.h"
#include "support/ExifChunks.h"

namespace {

using test::Bytes;
using test::Join;
using test::RiffChunk;

const Bytes kPngSignature = Hex("89 50 4E 47 0D 0A 1A 0A");
const Bytes kHeader = test::PngChunk("IHDR", Hex("00000002 00000002 08 02 00 00 00"));  // 2 x 2 RGB
const Bytes kData = test::PngChunk("IDAT", Hex("78 9C 63 00 00 00 01 00 01"));
const Bytes kEnd = test::PngChunk("IEND", {});

Bytes Exif(int orientation) {
    return test::PngChunk("eXIf", test::TiffWithOrientation(orientation, true));
}

// "RIFF", size of the rest, "WEBP", then the chunks; the size field is made to match.
Bytes Riff(std::initializer_list<Bytes> chunks) {
    Bytes file = Join({Hex("52494646 00000000 57454250"), Join(chunks)});
    test::PutLittle32(file, 4, static_cast<std::uint32_t>(file.size() - 8));
    return file;
}

const Bytes kImage = RiffChunk("VP8L", Hex("2F 01 40 00 00"));

TEST(ChunkOrientationTest, PngEXifChunkGivesItsOrientationWhereverItStands) {
    EXPECT_EQ(ChunkOrientation(Join({kPngSignature, kHeader, Exif(6), kData, kEnd})), 6);
    EXPECT_EQ(ChunkOrientation(Join({kPngSignature, kHeader, kData, Exif(8), kEnd})), 8);
    const Bytes little = test::PngChunk("eXIf", test::TiffWithOrientation(3, false));
    EXPECT_EQ(ChunkOrientation(Join({kPngSignature, kHeader, little, kData, kEnd})), 3);
    const Bytes withHeader =
        test::PngChunk("eXIf", test::WithExifHeader(test::TiffWithOrientation(5, true)));
    EXPECT_EQ(ChunkOrientation(Join({kPngSignature, kHeader, withHeader, kData, kEnd})), 5);
}

TEST(ChunkOrientationTest, WebpExifChunkGivesItsOrientationAfterPaddedChunks) {
    const Bytes tiff = test::TiffWithOrientation(6, false);
    EXPECT_EQ(ChunkOrientation(Riff({kImage, RiffChunk("EXIF", tiff)})), 6);
    EXPECT_EQ(ChunkOrientation(Riff({kImage, RiffChunk("EXIF", test::WithExifHeader(tiff))})), 6);
    // kImage holds five bytes and a pad byte, ICCP three and a pad byte.
    EXPECT_EQ(ChunkOrientation(Riff({RiffChunk("ICCP", Hex("01 02 03")), kImage,
                                     RiffChunk("EXIF", test::TiffWithOrientation(7, true))})),
              7);
}

// Cameras store the orientation as a long, or signed, as well as the standard's short.
TEST(ChunkOrientationTest, OrientationOfEveryIntegerTypeIsRead) {
    for (const std::uint8_t type : {1, 3, 4, 6, 8, 9})
        for (const bool bigEndian : {false, true})
            EXPECT_EQ(ChunkOrientation(Join(
                          {kPngSignature, kHeader,
                           test::PngChunk("eXIf", test::TiffWithOrientation(6, bigEndian, type)),
                           kData, kEnd})),
                      6)
                << int{type} << (bigEndian ? " big-endian" : " little-endian");
    // A rational or a text is no orientation.
    for (const std::uint8_t type : {2, 5, 7})
        EXPECT_EQ(
            ChunkOrientation(Join({kPngSignature, kHeader,
                                   test::PngChunk("eXIf", test::TiffWithOrientation(6, true, type)),
                                   kData, kEnd})),
            1)
            << int{type};
}

TEST(ChunkOrientationTest, MissingLostOrDamagedExifGivesUpright) {
    const auto tiff = [](const char* hex) {
        return Join({kPngSignature, kHeader, test::PngChunk("eXIf", Hex(hex)), kEnd});
    };
    const std::vector<Bytes> files{
        // TIFF structures that name no orientation, or one that cannot be trusted.
        tiff("5858 002A 00000008  0001  0112 0003 00000001 00060000  00000000"),  // order XX
        tiff("4D4D 002A 000000FF"),                                     // directory past the end
        tiff("4D4D 002A 00000008  0002  0100 0003 00000001 00060000"),  // 2nd entry cut off
        tiff("4D4D 002A 00000008  0001  0112 0003 00000002 00060006  00000000"),  // 2 values
        tiff("4D4D 002A 00000008  0001  0100 0003 00000001 00060000  00000000"),  // other tag
        Join({kPngSignature, kHeader, kData, kEnd}),
        Join({kPngSignature, kHeader, kData, kEnd, Exif(6)}),            // after the end
        Join({kPngSignature, Hex("FFFFFFFF 49444154"), Exif(6), kEnd}),  // IDAT past the end
        Join({kPngSignature, kHeader, test::PngChunk("eXIf", Hex("4D4D 002B 00000008")), kEnd}),
        Join({kPngSignature, kHeader, Exif(9), kEnd}),
        Join({kPngSignature, kHeader, Exif(0), kEnd}),
        Riff({kImage}),
        Riff({RiffChunk("EXIF", Hex("49 49 2A"))}),
        // The RIFF size stops before the EXIF chunk, or a chunk length runs past the file.
        Join({Hex("52494646 12000000 57454250"), kImage,
              RiffChunk("EXIF", test::TiffWithOrientation(6, true))}),
        Join({Hex("52494646 FFFFFFFF 57454250 56503858 F0FFFFFF"),
              RiffChunk("EXIF", test::TiffWithOrientation(6, true))}),
    };
    for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(ChunkOrientation(files[i]), 1) << i;
}

TEST(ChunkOrientationTest, FilesCutAnywhereAreReadSafely) {
    const Bytes exif = Exif(6);
    const Bytes png = Join({kPngSignature, kHeader, exif, kData, kEnd});
    const std::size_t exifEnd = kPngSignature.size() + kHeader.size() + exif.size();
    for (std::size_t size = 0; size <= png.size(); ++size) {
        const std::optional<int> orientation = ChunkOrientation(std::span(png).first(size));
        if (size < kPngSignature.size())
            EXPECT_EQ(orientation, std::nullopt) << size;
        else
            EXPECT_EQ(orientation, size >= exifEnd ? 6 : 1) << size;
    }
    const Bytes webp = Riff({kImage, RiffChunk("EXIF", test::TiffWithOrientation(8, true))});
    for (std::size_t size = 12; size <= webp.size(); ++size)
        EXPECT_EQ(ChunkOrientation(std::span(webp).first(size)), size == webp.size() ? 8 : 1)
            << size;
}

TEST(ChunkOrientationTest, OtherFormatsAreLeftToTheirReaders) {
    for (const Bytes& file : {Bytes{}, Hex("FFD8 FFE1"), Hex("89 50 4E 47 0D 0A 1A"),
                              Hex("52494646 04000000 57415645"), Hex("424D 00000000")})
        EXPECT_EQ(ChunkOrientation(file), std::nullopt);
}

}  // namespace
