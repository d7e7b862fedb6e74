#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "core/picture/BmpBitFields.h"
#include "core/picture/BmpReader.h"
#include "support/PictureBytes.h"

namespace {

using test::Bytes;

struct Header {
    std::uint32_t size;  // 12: the OS/2 1.x header, whose sizes are 16 bits
    std::uint32_t width;
    std::uint32_t height;  // negative as a signed number: rows stored top first
    std::uint16_t bits;
    std::uint32_t compression = 0;  // 3 and 6: bit fields, 6 with an alpha mask
    std::uint32_t colours = 0;
    BitFieldMasks masks = {};
};

// The file header, the info header, the masks (inside the header or after it), palette, pixels.
Bytes File(const Header& h, const Bytes& palette, const Bytes& pixels) {
    const bool os2 = h.size == 12;
    Bytes file = Hex("424D");
    file.resize(14 + h.size);
    const std::pair<std::size_t, std::uint32_t> fields[] = {
        {14, h.size},        {18, h.width},  {os2 ? 20u : 22u, h.height}, {os2 ? 24u : 28u, h.bits},
        {30, h.compression}, {46, h.colours}};
    for (const auto& [at, value] : fields)
        for (std::size_t i = 0; i < (os2 && at > 14 ? 2 : 4) && at + i < file.size(); ++i)
            file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    if (h.compression == 3 || h.compression == 6) {
        const std::uint32_t masks[] = {h.masks.red, h.masks.green, h.masks.blue, h.masks.alpha};
        const std::size_t count = h.compression == 6 || h.size >= 56 ? 4 : 3;
        file.resize(std::max(file.size(), 54 + 4 * count));
        for (std::size_t i = 0; i < count; ++i) test::PutLittle32(file, 54 + 4 * i, masks[i]);
    }
    file.insert(file.end(), palette.begin(), palette.end());
    test::PutLittle32(file, 10, static_cast<std::uint32_t>(file.size()));
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

// Rows of pixels (palette indexes, or values stored little-endian), top row first; stored
// bottom row first unless topDown, each padded to 4 bytes.
Bytes StoredRows(const std::vector<std::vector<std::uint32_t>>& rows, unsigned bits, bool topDown) {
    Bytes stored;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::size_t bit = stored.size() * 8;
        for (std::uint32_t value : rows[topDown ? r : rows.size() - 1 - r]) {
            for (unsigned i = 0; i < std::max(bits, 8u); i += 8, bit += std::min(bits, 8u)) {
                if (bit % 8 == 0) stored.push_back(0);
                stored.back() |= static_cast<std::uint8_t>(bits < 8 ? value << (8 - bits - bit % 8)
                                                                    : value >> i);
            }
        }
        stored.resize((stored.size() + 3) / 4 * 4, 0);
    }
    return stored;
}

// Pixels drawn a character each, top row first: R, G, B opaque red, green, blue, K opaque
// black, . transparent black.
void ExpectPicture(const BmpPicture& picture, const std::vector<std::string>& rows) {
    std::vector<std::uint8_t> rgba;
    for (char c : std::accumulate(rows.begin(), rows.end(), std::string())) {
        for (char channel : {'R', 'G', 'B'}) rgba.push_back(c == channel ? 255 : 0);
        rgba.push_back(c == '.' ? 0 : 255);
    }
    EXPECT_EQ(picture.refusal, "");
    EXPECT_EQ(picture.image.width, rows[0].size());
    EXPECT_EQ(picture.image.height, rows.size());
    EXPECT_EQ(picture.image.pixels, rgba);
}

TEST(BmpReaderTest, EveryHeaderAndPixelWidthGivesThePicture) {
    const struct {
        std::uint32_t header;
        std::uint16_t bits;
        bool topDown;
    } cases[] = {{12, 1, false}, {12, 24, false}, {16, 4, false},  {40, 1, false},
                 {40, 2, false}, {40, 4, true},   {40, 8, false},  {40, 16, false},
                 {40, 24, true}, {40, 32, false}, {52, 8, false},  {56, 16, true},
                 {64, 8, false}, {64, 24, false}, {108, 32, true}, {124, 2, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.header << " bytes, " << c.bits << " bits");
        // Index 0, 5-5-5 or 8-8-8 red, then green; the fourth byte of 32 bits is padding.
        const std::uint32_t red = c.bits <= 8 ? 0 : c.bits == 16 ? 0x7C00 : 0x55FF0000;
        const std::uint32_t green = c.bits <= 8 ? 1 : c.bits == 16 ? 0x03E0 : 0x0000FF00;
        Bytes palette = c.header == 12 ? Hex("0000FF 00FF00") : Hex("0000FF00 00FF0000");
        if (c.bits > 8) palette.clear();
        const Bytes pixels =
            StoredRows({{green, red, red}, {red, green, green}}, c.bits, c.topDown);
        const Header header{c.header, 3, c.topDown ? -2u : 2u, c.bits, 0, c.bits <= 8 ? 2u : 0u};
        ExpectPicture(ReadBmp(File(header, palette, pixels)), {"GRR", "RGG"});
    }
}

TEST(BmpReaderTest, BitFieldsOfAnyWidthScaleExactlyToEightBits) {
    const struct {
        Header header;
        std::uint32_t pixel;
        std::vector<std::uint8_t> rgba;
    } cases[] = {
        {{40, 1, 1, 16, 3, 0, {0xF800, 0x07E0, 0x1F}}, 0x8410, {132, 130, 132, 255}},
        {{40, 1, 1, 32, 3, 0, {0xFFE00000, 0x1FFC00, 0x3FF}}, 0x800003FF, {128, 0, 255, 255}},
        {{40, 1, 1, 32, 6, 0, {0x3FF00000, 0xFFC00, 0x3FF, 3u << 30}},
         0x600FFC00,
         {128, 255, 0, 85}},
        {{56, 1, 1, 16, 3, 0, {8, 4, 2, 1}}, 0xB, {255, 0, 255, 255}},   // alpha mask in the header
        {{40, 1, 1, 32, 3, 0, {0xFFFFFF}}, 0x810000, {128, 0, 0, 255}},  // no green, blue or alpha
        // Alpha all 0 under an alpha mask: meant opaque. Uncompressed: the fourth byte is padding.
        {{108, 1, 1, 32, 3, 0, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}}, 0x332211, {51, 34, 17, 255}},
        {{124, 1, 1, 32}, 0x80332211, {51, 34, 17, 255}},
        // Masks 25 to 32 bits wide, whose scaling to 8 bits overflows 32 bits.
        {{40, 1, 1, 32, 3, 0, {0x03FFFFFF}}, 0x03FFFFFF, {255, 0, 0, 255}},
        {{40, 1, 1, 32, 3, 0, {0x01FFFFFF}}, 0x01000000, {128, 0, 0, 255}},
        {{40, 1, 1, 32, 3, 0, {0, 0xFFFFFFFF}}, 0x80000000, {0, 128, 0, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const Bytes pixels = StoredRows({{c.pixel}}, c.header.bits, false);
        EXPECT_EQ(ReadBmp(File(c.header, {}, pixels)).image.pixels, c.rgba);
    }
}

TEST(BmpReaderTest, RunLengthSkipsLeaveTransparentAndIndexesPastTheTableBlack) {
    // Bottom row first: green, red, green, an early end of line; absolute pixels, the last past
    // the table; a move to the top row's end; a run of one, the end of the bitmap or last row.
    const Header rle8{40, 4, 3, 8, 1};
    const Header rle4{40, 4, 3, 4, 2};
    const std::pair<Header, Bytes> cases[] = {
        {rle8, Hex("0101 0100 0101 0000  0003 000103 00  0002 0001  0100 0001")},
        {rle4, Hex("0310 0000  0003 0130  0002 0001  0100 0001")},
        {rle8, Hex("0101 0100 0101 0000  0003 0001FF 00  0002 0001  0100 0000")},
    };
    for (const auto& [header, codes] : cases) {
        SCOPED_TRACE(&codes - &cases[0].second);
        ExpectPicture(ReadBmp(File(header, Hex("0000FF00 00FF0000 FF000000"), codes)),
                      {"...R", "RGK.", "GRG."});
    }
    // A table stated far longer than the file.
    const Bytes file = File({40, 1, 1, 8, 0, 0xFFFFFFFF}, Hex("0000FF00"), Hex("01000000"));
    ExpectPicture(ReadBmp(file), {"K"});
}

TEST(BmpReaderTest, DamagedOrHugeFilesAreRefused) {
    const Bytes picture = File({40, 1, 1, 24}, {}, Hex("0000FF 00"));
    const Bytes fields = File({40, 1, 1, 16, 3, 0, {0xF800, 0x07E0, 0x1F}}, {}, Bytes(4, 0));
    const auto with = [&](std::size_t at, const Bytes& bytes) {
        Bytes file = picture;
        std::copy(bytes.begin(), bytes.end(), file.begin() + at);
        return file;
    };
    const std::pair<Bytes, std::string> cases[] = {
        {Bytes(picture.begin(), picture.end() - 1), "cut short"},
        {with(18, Hex("10270000 10270000")), "cut short"},  // 10000 x 10000 in 58 bytes
        {File({40, 4, 3, 8, 1}, {}, Hex("0201 0000 0201")), "cut short"},
        {with(18, Hex("70110100")), "too large"},  // 70000 wide
        {with(22, Hex("00000080")), "too large"},  // 2^31 rows, top first
        {with(14, Hex("14")), "bitmap header of unknown size"},
        {with(30, Hex("04")), "JPEG or PNG inside a bitmap not read"},
        {with(30, Hex("01")), "bitmap pixel format not read"},
        {File({64, 1, 1, 1, 3}, {}, Bytes(4, 0)), "bitmap compression not read"},  // OS/2 Huffman
        {Bytes(fields.begin(), fields.begin() + 60), "cut short"},                 // in the masks
        {File({40, 1, 1, 16, 3, 0, {0x7C00, 0x0360, 0x1F}}, {}, Bytes(4, 0)),
         "bitmap bit fields not contiguous"},
    };
    for (const auto& [file, refusal] : cases) {
        const BmpPicture refused = ReadBmp(file);
        EXPECT_EQ(refused.refusal, refusal);
        EXPECT_TRUE(refused.image.pixels.empty()) << refusal;
    }
}

// Files of the bitmap suite many readers test against: OS/2 1.x with only the colours used,
// OS/2 2.x, and run lengths stored top first, all of one picture.
TEST(BmpReaderTest, SuiteFilesOfOnePictureDecodeAlike) {
    const auto pixels = [](const std::string& name) {
        const std::string path = CORVALIN_FUZZ_CORPUS "/bmp_reader/bmpsuite-" + name + ".bmp";
        return ReadBmp(ReadBytes(path)).image.pixels;
    };
    const std::vector<std::uint8_t> picture = pixels("pal8os2sp");
    EXPECT_EQ(picture.size(), 127 * 64 * 4);
    EXPECT_EQ(pixels("pal8os2v2-16"), picture);
    EXPECT_EQ(pixels("rletopdown"), picture);
}

}  // namespace
