#include <gtest/gtest.h>

#include <string_view>

#include "core/picture/HeifCanvas.h"
#include "support/ByteFiles.h"
#include "support/ExifChunks.h"

void PrintTo(const CanvasSize& size, std::ostream* out) {
    *out << size.width << " x " << size.height << (size.overlay ? " overlay" : "");
}

namespace {

using test::Bytes;
using test::Join;

// value as size bytes (at most 8), most significant first.
Bytes Big(std::uint64_t value, std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * (size - 1 - i)));
    return bytes;
}

Bytes Box(std::string_view type, const Bytes& body) {
    return Join({Big(8 + body.size(), 4), Bytes(type.begin(), type.end()), body});
}

Bytes FullBox(std::string_view type, int version, const Bytes& body) {
    return Box(type, Join({Big(static_cast<std::uint64_t>(version), 1), Big(0, 3), body}));
}

struct Item {
    std::uint32_t id;
    std::string_view type;
    Bytes data;
    bool inItemData;  // in the item data box, or else in the media data box
};

// ftyp, the media data, then meta with the item list, the locations (4-byte offsets, lengths
// and base offsets) and the item data. ilocCut bytes are taken off the end of the locations.
Bytes Heif(int ilocVersion, const std::vector<Item>& items, std::size_t ilocCut = 0) {
    const Bytes ftyp = Box("ftyp", Join({Hex("68656963 00000000 6D696631 68656963")}));
    const std::size_t idSize = ilocVersion == 2 ? 4 : 2;
    Bytes mdat, idat, infes;
    Bytes iloc = Join({Hex("44 40"), Big(items.size(), idSize)});
    for (const Item& item : items) {
        Bytes& place = item.inItemData ? idat : mdat;
        const std::uint64_t base = item.inItemData ? 0 : ftyp.size() + 8;
        iloc = Join({iloc, Big(item.id, idSize),
                     ilocVersion == 0 ? Bytes{} : Big(item.inItemData ? 1 : 0, 2), Big(0, 2),
                     Big(base, 4), Big(1, 2), Big(place.size(), 4), Big(item.data.size(), 4)});
        place = Join({place, item.data});
        const int infeVersion = item.id > 0xFFFF ? 3 : 2;
        infes = Join({infes, FullBox("infe", infeVersion,
                                     Join({Big(item.id, infeVersion == 2 ? 2 : 4), Big(0, 2),
                                           Bytes(item.type.begin(), item.type.end())}))});
    }
    iloc.erase(iloc.end() - static_cast<std::ptrdiff_t>(ilocCut), iloc.end());
    const Bytes meta = FullBox("meta", 0,
                               Join({FullBox("iinf", 0, Join({Big(items.size(), 2), infes})),
                                     FullBox("iloc", ilocVersion, iloc), Box("idat", idat)}));
    return Join({ftyp, Box("mdat", mdat), meta});
}

// A coded tile whose bytes would read as a grid stating 65535 x 65535.
const Item kTile{2, "hvc1", Hex("00 00 00 01 FFFF FFFF 00000000"), false};

TEST(HeifCanvasTest, GridAndOverlayItemsGiveTheCanvasTheyState) {
    const Bytes grid4000x3000 = Hex("00 00 01 02 0FA0 0BB8");  // 2 rows, 3 columns
    const Bytes overlay5000x2000 = Hex("00 00 0000 0000 0000 FFFF 1388 07D0 0000 0000");
    const struct {
        const char* name;
        Bytes file;
        std::vector<CanvasSize> stated;
    } cases[] = {
        {"grid in the item data",
         Heif(1, {{1, "grid", grid4000x3000, true}, kTile}),
         {{4000, 3000}}},
        {"grid in the media data, 32-bit sizes",
         Heif(0, {kTile, {1, "grid", Hex("00 01 00 01 00011170 00013880"), false}}),
         {{70000, 80000}}},
        {"overlay in the item data",
         Heif(1, {kTile, {1, "iovl", overlay5000x2000, true}}),
         {{5000, 2000, true}}},
        {"overlay with 32-bit fields and item ids",
         Heif(2, {{0x10000, "iovl",
                   Hex("00 01 0000 0000 0000 FFFF 00011170 00000064 00000000 00000000"), false}}),
         {{70000, 100, true}}},
        {"grid and overlay",
         Heif(1, {{1, "grid", grid4000x3000, false}, {3, "iovl", overlay5000x2000, true}}),
         {{4000, 3000}, {5000, 2000, true}}},
        {"locations cut inside the second entry",
         Heif(1, {{1, "grid", grid4000x3000, true}, {3, "iovl", overlay5000x2000, true}}, 2),
         {{4000, 3000}}},
        {"grid data without its height",
         Heif(1, {{1, "grid", Hex("00 00 01 02 0FA0 0B"), true}}),
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(StatedCanvasSizes(c.file), c.stated);
    }
}

TEST(HeifCanvasTest, OtherFilesStateNoCanvas) {
    for (const Bytes& file : {Bytes{}, Hex("89504E470D0A1A0A 0000000D 49484452"),
                              Box("meta", Hex("000000")), Box("ftyp", Hex("6865"))})
        EXPECT_TRUE(StatedCanvasSizes(file).empty());
}

TEST(HeifCanvasTest, FuzzSeedsStateTheirHugeCanvas) {
    const std::string corpus = CORVALIN_FUZZ_CORPUS "/picture_import/";
    EXPECT_EQ(StatedCanvasSizes(ReadBytes(corpus + "heic-grid-stating-35152x20039")),
              (std::vector<CanvasSize>{{35152, 20039}}));
    EXPECT_EQ(StatedCanvasSizes(ReadBytes(corpus + "heic-grid-stating-60000x60000")),
              (std::vector<CanvasSize>{{60000, 60000}}));
    EXPECT_EQ(StatedCanvasSizes(ReadBytes(corpus + "heic-overlay-stating-60000x60000")),
              (std::vector<CanvasSize>{{60000, 60000, true}}));
}

}  // namespace

// libheif asserts, and so ends its process, on a derivation from an item that is no image.
TEST(HeifCanvasTest, DerivationsFromItemsThatAreNoImagesAreFound) {
    const std::string corpus = CORVALIN_FUZZ_CORPUS "/picture_import/";
    EXPECT_FALSE(
        HeifDerivesOnlyFromImages(ReadBytes(corpus + "heic-overlay-of-an-item-that-is-no-image")));
    for (const char* name :
         {"heic-quarters", "heic-grid-stating-60000x60000", "heic-overlay-stating-60000x60000"})
        EXPECT_TRUE(HeifDerivesOnlyFromImages(ReadBytes(corpus + name))) << name;
}
