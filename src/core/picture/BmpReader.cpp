#include "core/picture/BmpReader.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "core/io/ByteOrder.h"
#include "core/picture/BmpBitFields.h"
#include "core/picture/BmpPalette.h"
#include "core/picture/BmpRunLength.h"
#include "core/picture/CutShortPicture.h"
#include "core/picture/DecodeLimits.h"
#include "core/picture/PictureSize.h"

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kMasksAt = kFileHeaderSize + 40;  // after the 40-byte header, or inside
constexpr std::uint64_t kBytesPerPixel = 4;

enum Compression : std::uint32_t {
    kUncompressed = 0,
    kRunLength8 = 1,
    kRunLength4 = 2,
    kBitFields = 3,
    kJpeg = 4,
    kPng = 5,
    kAlphaBitFields = 6,
};

// What the headers say, checked against each other and the file, except for the pixel data.
struct Layout {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool topDown = false;
    unsigned bitsPerPixel = 0;
    std::uint32_t compression = kUncompressed;
    BitFieldMasks masks;
    BmpPalette palette;
    std::uint64_t pixelOffset = 0;
};

BmpPicture Refused(std::string why) { return {{}, std::move(why)}; }

bool KnownHeaderSize(std::uint32_t size) {
    // OS/2 1.x; OS/2 2.x cut to its first fields; Windows 3; with colour masks; with alpha
    // mask; OS/2 2.x whole; Windows 95; Windows 98.
    constexpr std::uint32_t kSizes[] = {12, 16, 40, 52, 56, 64, 108, 124};
    return std::find(std::begin(kSizes), std::end(kSizes), size) != std::end(kSizes);
}

bool PixelFormatValid(unsigned bits, std::uint32_t compression) {
    switch (compression) {
        case kUncompressed:
            return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 ||
                   bits == 32;
        case kRunLength8:
            return bits == 8;
        case kRunLength4:
            return bits == 4;
        case kBitFields:
        case kAlphaBitFields:
            return bits == 16 || bits == 32;
        default:
            return false;
    }
}

// The masks of an uncompressed pixel of 16 bits (5-5-5) or more (8-8-8); never alpha, since
// writers leave the fourth byte of such a pixel unset.
BitFieldMasks DefaultMasks(unsigned bits) {
    if (bits == 16) return {0x7C00, 0x03E0, 0x001F, 0};
    return {0xFF0000, 0x00FF00, 0x0000FF, 0};
}

// Reads and checks the headers and colour table; the refusal when they are unusable.
std::string ReadLayout(Bytes file, Layout& layout) {
    if (!IsBitmapFile(file)) return "not a bitmap";
    if (file.size() < kFileHeaderSize + 4) return "cut short";
    const std::uint32_t headerSize = LoadLittle32(&file[kFileHeaderSize]);
    if (!KnownHeaderSize(headerSize)) return "bitmap header of unknown size";
    const std::uint64_t headerEnd = kFileHeaderSize + headerSize;
    if (file.size() < headerEnd) return "cut short";

    std::int64_t width = 0;
    std::int64_t height = 0;
    if (headerSize == 12) {
        width = LoadLittle16(&file[18]);
        height = LoadLittle16(&file[20]);
        layout.bitsPerPixel = LoadLittle16(&file[24]);
    } else {
        width = static_cast<std::int32_t>(LoadLittle32(&file[18]));
        height = static_cast<std::int32_t>(LoadLittle32(&file[22]));
        layout.bitsPerPixel = LoadLittle16(&file[28]);
        if (headerSize >= 40) layout.compression = LoadLittle32(&file[30]);
    }
    // The OS/2 header numbers its own compressions from 3: Huffman and 24-bit run lengths.
    if (headerSize == 64 && layout.compression > kRunLength4) return "bitmap compression not read";
    if (layout.compression == kJpeg || layout.compression == kPng)
        return "JPEG or PNG inside a bitmap not read";
    if (!PixelFormatValid(layout.bitsPerPixel, layout.compression))
        return "bitmap pixel format not read";
    layout.topDown = height < 0;
    height = std::abs(height);
    if (width <= 0 || height == 0) return "bitmap without pixels";
    if (!DeclaredSizeAcceptable(width, height, kBytesPerPixel)) return "too large";
    layout.width = static_cast<std::uint32_t>(width);
    layout.height = static_cast<std::uint32_t>(height);

    std::uint64_t tableAt = headerEnd;
    if (layout.compression == kBitFields || layout.compression == kAlphaBitFields) {
        const bool alpha = layout.compression == kAlphaBitFields || headerSize >= 56;
        tableAt = std::max<std::uint64_t>(headerEnd, kMasksAt + (alpha ? 16 : 12));
        if (file.size() < tableAt) return "cut short";
        layout.masks = {LoadLittle32(&file[kMasksAt]), LoadLittle32(&file[kMasksAt + 4]),
                        LoadLittle32(&file[kMasksAt + 8]),
                        alpha ? LoadLittle32(&file[kMasksAt + 12]) : 0};
        if (!BitFieldsContiguous(layout.masks)) return "bitmap bit fields not contiguous";
    } else if (layout.bitsPerPixel > 8) {
        layout.masks = DefaultMasks(layout.bitsPerPixel);
    }

    layout.pixelOffset = LoadLittle32(&file[10]);
    if (layout.pixelOffset > file.size()) return "cut short";
    if (layout.pixelOffset < tableAt) return "bitmap pixels inside its header";
    if (layout.bitsPerPixel <= 8) {
        // Old OS/2 files leave the count out and store only the entries they use: the pixel
        // data's offset bounds the table.
        const std::size_t entryBytes = headerSize == 12 ? 3 : 4;
        const std::uint32_t stated = headerSize >= 40 ? LoadLittle32(&file[46]) : 0;
        const std::uint64_t fits = (layout.pixelOffset - tableAt) / entryBytes;
        const std::uint64_t entries =
            std::min<std::uint64_t>({stated == 0 ? 1u << layout.bitsPerPixel : stated, fits, 256});
        layout.palette = ReadBmpPalette(file.subspan(tableAt), entryBytes, entries);
    }
    return {};
}

// The palette index of pixel x of a stored row of 1, 2, 4 or 8 bits a pixel, high bits first.
std::uint8_t IndexAt(const std::uint8_t* row, std::uint32_t x, unsigned bits) {
    const std::uint64_t bit = std::uint64_t{x} * bits;
    const unsigned shift = 8 - bits - static_cast<unsigned>(bit % 8);
    return static_cast<std::uint8_t>((row[bit / 8] >> shift) & ((1u << bits) - 1));
}

// Decodes rows stored uncompressed, each padded to 4 bytes; the refusal when the file ends
// before them, found before anything of their size is allocated.
std::string PaintRows(Bytes data, const Layout& layout, RgbaImage& image) {
    const std::uint64_t stride = (std::uint64_t{layout.width} * layout.bitsPerPixel + 31) / 32 * 4;
    if (data.size() / stride < layout.height) return "cut short";
    image.pixels.resize(std::uint64_t{layout.width} * layout.height * kBytesPerPixel);
    const BitFieldUnpacker unpacker(layout.masks, layout.bitsPerPixel / 8);
    for (std::uint32_t y = 0; y < layout.height; ++y) {
        const std::uint8_t* stored = &data[y * stride];
        const std::uint32_t row = layout.topDown ? y : layout.height - 1 - y;
        std::uint8_t* rgba = &image.pixels[std::uint64_t{row} * layout.width * kBytesPerPixel];
        if (layout.bitsPerPixel > 8) {
            unpacker.UnpackRow(stored, layout.width, rgba);
            continue;
        }
        for (std::uint32_t x = 0; x < layout.width; ++x, rgba += 4)
            std::copy_n(layout.palette[IndexAt(stored, x, layout.bitsPerPixel)].data(), 4, rgba);
    }
    return {};
}

// Writers that leave the alpha bits unset leave them 0 everywhere, even under an alpha mask:
// such a picture is meant opaque, not invisible.
void OpaqueWhenAllTransparent(RgbaImage& image) {
    for (std::size_t at = 3; at < image.pixels.size(); at += 4)
        if (image.pixels[at] != 0) return;
    for (std::size_t at = 3; at < image.pixels.size(); at += 4) image.pixels[at] = 255;
}

}  // namespace

BmpPicture ReadBmp(std::span<const std::uint8_t> bytes) {
    Layout layout;
    if (std::string refusal = ReadLayout(bytes, layout); !refusal.empty())
        return Refused(std::move(refusal));
    // Walks the run-length codes before their picture is allocated.
    if (IsCutShort(bytes)) return Refused("cut short");
    BmpPicture picture;
    RgbaImage& image = picture.image;
    image.width = layout.width;
    image.height = layout.height;
    const Bytes data = bytes.subspan(layout.pixelOffset);
    if (layout.compression == kRunLength8 || layout.compression == kRunLength4) {
        image.pixels.resize(std::uint64_t{layout.width} * layout.height * kBytesPerPixel);
        if (!PaintRunLength(data, layout.compression == kRunLength4, layout.palette, layout.topDown,
                            image))
            return Refused("cut short");
    } else if (std::string refusal = PaintRows(data, layout, image); !refusal.empty()) {
        return Refused(std::move(refusal));
    }
    if (layout.masks.alpha != 0) OpaqueWhenAllTransparent(image);
    return picture;
}

BmpPicture ReadFirstOfBitmapArray(std::span<const std::uint8_t> bytes) {
    constexpr std::size_t kArrayHeaderSize = 14;
    constexpr std::size_t kPixelOffsetAt = 10;
    if (!IsBitmapArray(bytes)) return Refused("not a bitmap array");
    if (bytes.size() < kArrayHeaderSize + kFileHeaderSize) return Refused("cut short");
    // Copied with its offset counted from its own start: every element's pixels lie elsewhere in
    // the one file, and the bitmap reader knows a file of one.
    std::vector<std::uint8_t> first(bytes.begin() + kArrayHeaderSize, bytes.end());
    const std::uint32_t offset = LoadLittle32(&first[kPixelOffsetAt]);
    if (offset < kArrayHeaderSize) return Refused("bitmap pixels inside its header");
    const std::uint32_t own = offset - kArrayHeaderSize;
    for (std::size_t i = 0; i < 4; ++i)
        first[kPixelOffsetAt + i] = static_cast<std::uint8_t>(own >> (8 * i));
    return ReadBmp(first);
}
