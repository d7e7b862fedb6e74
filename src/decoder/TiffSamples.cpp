#include "decoder/TiffSamples.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/picture/DecodeLimits.h"

namespace {

// What the directory says of the samples, and where each plane's rows lie in the raw image.
struct Layout {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint16_t bits = 0;
    std::uint16_t samples = 1;
    std::uint16_t format = SAMPLEFORMAT_UINT;
    std::uint16_t photometric = PHOTOMETRIC_MINISBLACK;
    bool planes = false;  // each sample in a plane of its own
    int colours = 1;      // grey 1, RGB 3, CMYK 4; the sample after them is alpha
    bool alpha = false;
    bool associated = false;       // the colours already multiplied by alpha
    std::uint64_t stride = 0;      // bytes from one row of a plane to the next
    std::uint64_t planeBytes = 0;  // bytes of one plane (the whole image when together)
};

bool ReadLayout(TIFF* tiff, Layout& layout) {
    if (TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &layout.width) != 1 ||
        TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &layout.height) != 1)
        return false;
    std::uint16_t planar = PLANARCONFIG_CONTIG;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &layout.bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &layout.samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &layout.format);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    if (TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &layout.photometric) != 1) return false;
    layout.planes = planar == PLANARCONFIG_SEPARATE;
    switch (layout.photometric) {
        case PHOTOMETRIC_MINISBLACK:
        case PHOTOMETRIC_MINISWHITE:
            layout.colours = 1;
            break;
        case PHOTOMETRIC_RGB:
            layout.colours = 3;
            break;
        case PHOTOMETRIC_SEPARATED: {
            std::uint16_t inks = INKSET_CMYK;
            TIFFGetFieldDefaulted(tiff, TIFFTAG_INKSET, &inks);
            if (inks != INKSET_CMYK) return false;
            layout.colours = 4;
            break;
        }
        default:
            return false;
    }
    const bool floating = layout.format == SAMPLEFORMAT_IEEEFP;
    if (layout.bits == 0 || layout.bits > 64 || layout.samples < layout.colours ||
        (floating && layout.bits != 16 && layout.bits != 24 && layout.bits != 32 &&
         layout.bits != 64) ||
        (!floating && layout.format != SAMPLEFORMAT_UINT && layout.format != SAMPLEFORMAT_INT))
        return false;
    std::uint16_t extraCount = 0;
    std::uint16_t* extra = nullptr;
    if (layout.samples > layout.colours &&
        TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extra) == 1 && extraCount > 0) {
        layout.alpha = extra[0] == EXTRASAMPLE_ASSOCALPHA || extra[0] == EXTRASAMPLE_UNASSALPHA;
        layout.associated = extra[0] == EXTRASAMPLE_ASSOCALPHA;
    }
    return true;
}

// Every byte of every plane, rows stride apart: strips read a row at a time, tiles a tile at
// a time into their place. Empty when a read fails.
std::vector<std::uint8_t> ReadRaw(TIFF* tiff, Layout& layout) {
    const std::uint64_t perPixel = layout.planes ? 1 : layout.samples;
    const int planes = layout.planes ? layout.samples : 1;
    const bool tiled = TIFFIsTiled(tiff) != 0;
    std::uint32_t tileWidth = 0;
    std::uint32_t tileHeight = 0;
    std::uint64_t across = layout.width;
    if (tiled) {
        TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &tileWidth);
        TIFFGetField(tiff, TIFFTAG_TILELENGTH, &tileHeight);
        if (tileWidth == 0 || tileHeight == 0) return {};
        across = (std::uint64_t{layout.width} + tileWidth - 1) / tileWidth * tileWidth;
    }
    layout.stride = (across * perPixel * layout.bits + 7) / 8;
    layout.planeBytes = layout.stride * layout.height;
    const std::uint64_t raw = layout.planeBytes * static_cast<std::uint64_t>(planes);
    if (!DeclaredHoldingAcceptable(layout.width, layout.height,
                                   raw + std::uint64_t{layout.width} * layout.height * 4))
        return {};
    std::vector<std::uint8_t> bytes(raw);
    if (!tiled) {
        if (static_cast<std::uint64_t>(TIFFScanlineSize64(tiff)) > layout.stride) return {};
        for (int plane = 0; plane < planes; ++plane)
            for (std::uint32_t y = 0; y < layout.height; ++y)
                if (TIFFReadScanline(tiff, &bytes[plane * layout.planeBytes + y * layout.stride], y,
                                     static_cast<std::uint16_t>(plane)) < 0)
                    return {};
        return bytes;
    }
    const auto tileRow = static_cast<std::uint64_t>(TIFFTileRowSize64(tiff));
    std::vector<std::uint8_t> tile(static_cast<std::size_t>(TIFFTileSize64(tiff)));
    if (tileRow * tileHeight > tile.size()) return {};
    for (int plane = 0; plane < planes; ++plane)
        for (std::uint32_t y = 0; y < layout.height; y += tileHeight)
            for (std::uint32_t x = 0; x < layout.width; x += tileWidth) {
                if (TIFFReadTile(tiff, tile.data(), x, y, 0, static_cast<std::uint16_t>(plane)) < 0)
                    return {};
                const std::uint64_t at = x * perPixel * layout.bits / 8;
                const std::uint64_t count = std::min<std::uint64_t>(tileRow, layout.stride - at);
                for (std::uint32_t row = 0; row < tileHeight && y + row < layout.height; ++row)
                    std::memcpy(&bytes[plane * layout.planeBytes + (y + row) * layout.stride + at],
                                &tile[row * tileRow], count);
            }
    return bytes;
}

// A 16-bit or libtiff's 24-bit float (sign, exponent of 5 or 7 bits, mantissa of 10 or 16).
double SmallFloat(std::uint64_t raw, int exponentBits, int mantissaBits) {
    const int bias = (1 << (exponentBits - 1)) - 1;
    const auto exponent = static_cast<int>((raw >> mantissaBits) & ((1u << exponentBits) - 1));
    const double mantissa =
        static_cast<double>(raw & ((1u << mantissaBits) - 1)) / std::ldexp(1.0, mantissaBits);
    if (exponent == (1 << exponentBits) - 1) return 0;  // infinite or not a number
    const double value =
        exponent == 0 ? std::ldexp(mantissa, 1 - bias) : std::ldexp(1 + mantissa, exponent - bias);
    return (raw >> (exponentBits + mantissaBits)) & 1 ? -value : value;
}

// Sample index of a row as 0 to 1. Whole bytes of 16 bits and more are in this machine's order
// (libtiff turns them); narrower samples are packed from the high bit.
double Sample(const std::uint8_t* row, std::uint64_t index, const Layout& layout) {
    std::uint64_t raw = 0;
    if (layout.bits % 8 == 0) {
        const std::uint8_t* at = row + index * (layout.bits / 8);
        for (int byte = layout.bits / 8 - 1; byte >= 0; --byte) raw = raw << 8 | at[byte];
    } else {
        const std::uint64_t first = index * layout.bits;
        for (std::uint64_t bit = first; bit < first + layout.bits; ++bit)
            raw = raw << 1 | ((row[bit / 8] >> (7 - bit % 8)) & 1);
    }
    double value = 0;
    if (layout.format == SAMPLEFORMAT_IEEEFP) {
        switch (layout.bits) {
            case 16:
                value = SmallFloat(raw, 5, 10);
                break;
            case 24:
                value = SmallFloat(raw, 7, 16);
                break;
            case 32:
                value = std::bit_cast<float>(static_cast<std::uint32_t>(raw));
                break;
            default:
                value = std::bit_cast<double>(raw);
                break;
        }
        return std::isnan(value) ? 0 : std::clamp(value, 0.0, 1.0);
    }
    if (layout.format == SAMPLEFORMAT_INT) {
        const int unused = 64 - layout.bits;
        const std::int64_t signedRaw = static_cast<std::int64_t>(raw << unused) >> unused;
        return std::max(0.0,
                        static_cast<double>(signedRaw) / (std::ldexp(1.0, layout.bits - 1) - 1));
    }
    return static_cast<double>(raw) / (std::ldexp(1.0, layout.bits) - 1);
}

std::uint8_t Byte(double value) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255));
}

}  // namespace

RgbaImage ReadTiffSamples(TIFF* tiff) {
    Layout layout;
    if (!ReadLayout(tiff, layout)) return {};
    const std::vector<std::uint8_t> raw = ReadRaw(tiff, layout);
    if (raw.empty()) return {};
    RgbaImage image{layout.width, layout.height,
                    std::vector<std::uint8_t>(std::size_t{layout.width} * layout.height * 4)};
    const int used = layout.colours + (layout.alpha ? 1 : 0);
    std::vector<double> value(static_cast<std::size_t>(used));
    for (std::uint32_t y = 0; y < layout.height; ++y) {
        std::uint8_t* out = &image.pixels[std::size_t{y} * layout.width * 4];
        for (std::uint32_t x = 0; x < layout.width; ++x, out += 4) {
            for (int s = 0; s < used; ++s) {
                const std::uint8_t* row =
                    &raw[(layout.planes ? s * layout.planeBytes : 0) + y * layout.stride];
                const std::uint64_t index =
                    layout.planes ? x : std::uint64_t{x} * layout.samples + s;
                value[static_cast<std::size_t>(s)] = Sample(row, index, layout);
            }
            const double alpha = layout.alpha ? value[static_cast<std::size_t>(used - 1)] : 1;
            double rgb[3];
            if (layout.colours == 1) {
                const double grey =
                    layout.photometric == PHOTOMETRIC_MINISWHITE ? 1 - value[0] : value[0];
                rgb[0] = rgb[1] = rgb[2] = grey;
            } else if (layout.colours == 3) {
                std::copy_n(value.begin(), 3, rgb);
            } else {
                for (int c = 0; c < 3; ++c) rgb[c] = (1 - value[c]) * (1 - value[3]);
            }
            for (int c = 0; c < 3; ++c)
                out[c] = Byte(layout.associated && alpha > 0 ? rgb[c] / alpha : rgb[c]);
            out[3] = Byte(alpha);
        }
    }
    return image;
}
