// Every kind of photo a player has: upright whatever its EXIF orientation, accepted when every
// pixel decoded despite harmless damage, refused when cut short, in each format, under any name.

#include <gif_lib.h>
// clang-format off
#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <jpeglib.h>
// clang-format on
#include <lcms2.h>
#include <tiffio.h>
#include <unistd.h>

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QTest>
#include <bit>
#include <cmath>
#include <cstring>
#include <map>

#include "core/layout/SkinLayout.h"
#include "core/library/PictureConversion.h"
#include "decoder/AnyPicture.h"
#include "decoder/HeifDecoder.h"
#include "decoder/HeifTiles.h"
#include "decoder/HevcDecoderPlugin.h"
#include "skin/EdgeRect.h"
#include "support/ExifChunks.h"
#include "support/PictureBytes.h"
#include "support/qt/GridHeic.h"
#include "support/qt/HeifBytes.h"
#include "support/qt/TestImages.h"
#include "support/qt/ToolRun.h"

namespace {

constexpr QRgb kRed = qRgb(230, 30, 30);
constexpr QRgb kGreen = qRgb(30, 220, 40);
constexpr QRgb kBlue = qRgb(30, 40, 220);
constexpr QRgb kYellow = qRgb(240, 230, 30);

// Four quarters: top left, top right, bottom left, bottom right.
using Quarters = std::array<QRgb, 4>;
constexpr Quarters kUpright{kRed, kGreen, kBlue, kYellow};
// The same with its red quarter transparent, which shows black.
constexpr Quarters kClearTopLeft{qRgb(0, 0, 0), kGreen, kBlue, kYellow};
constexpr Quarters kNotQuarters{};  // made of other pixels

QImage QuartersImage(int width, int height, const Quarters& colours) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, colours[(y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0)]);
    return image;
}

bool Near(QRgb actual, QRgb expected) {
    constexpr int kTolerance = 40;  // lossy coding twice over
    return qAbs(qRed(actual) - qRed(expected)) <= kTolerance &&
           qAbs(qGreen(actual) - qGreen(expected)) <= kTolerance &&
           qAbs(qBlue(actual) - qBlue(expected)) <= kTolerance;
}

// The stored 400 x 300 picture shows these quarters, sampled at their centres.
bool ShowsQuarters(const ImportedPicture& picture, const Quarters& colours) {
    const QImage stored =
        QImage::fromData(picture.jpeg.data(), static_cast<int>(picture.jpeg.size()));
    if (stored.size() != ToQSize(layout::kPictureSize)) return false;
    const std::array<QPoint, 4> centres{QPoint(100, 75), QPoint(300, 75), QPoint(100, 225),
                                        QPoint(300, 225)};
    for (std::size_t i = 0; i < 4; ++i)
        if (!Near(stored.pixel(centres[i]), colours[i])) return false;
    return true;
}

// The picture as a file of format ("JPG", "PNG", "WEBP") whose EXIF asks for orientation. The
// forms vary as writers do: either byte order; the PNG and WebP chunks with and without the
// "Exif\0\0" header of JPEG.
std::vector<std::uint8_t> WithOrientation(const QImage& image, const QByteArray& format,
                                          int orientation) {
    const std::vector<std::uint8_t> tiff =
        test::TiffWithOrientation(orientation, orientation % 2 == 0);
    const std::vector<std::uint8_t> bytes = test::Encode(image, format.constData());
    if (format == "PNG")
        return test::PngWithExif(bytes, orientation < 5 ? tiff : test::WithExifHeader(tiff));
    if (format == "WEBP")
        return test::WebpWithExif(bytes, image.width(), image.height(),
                                  orientation < 5 ? test::WithExifHeader(tiff) : tiff);
    return test::JpegWithExif(bytes, test::WithExifHeader(tiff));
}

std::vector<std::uint8_t> Cut(std::vector<std::uint8_t> bytes) {
    bytes.resize(bytes.size() / 2);
    return bytes;
}

// The file as a download cut short leaves it when its space was reserved first: the rest zeros.
std::vector<std::uint8_t> ZeroFilled(std::vector<std::uint8_t> bytes) {
    std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2), bytes.end(), 0);
    return bytes;
}

std::vector<std::uint8_t> Heic(const QImage& image) {
    return test::HeifBytes(image, heif_compression_HEVC);
}
std::vector<std::uint8_t> Avif(const QImage& image) {
    return test::HeifBytes(image, heif_compression_AV1);
}
// As some cameras write it: the generic brand first, the coding only among the compatible ones.
std::vector<std::uint8_t> HeicOfGenericBrand(const QImage& image) {
    std::vector<std::uint8_t> bytes = Heic(image);
    std::memcpy(bytes.data() + 8, "mif1", 4);
    return bytes;
}

using Bytes = std::vector<std::uint8_t>;

// As other writers label the same HEIC: the generic brand of the current standard first, or the
// generic brand alone.
Bytes HeicWithBrands(const QImage& image, const char* major, const char* compatible) {
    Bytes bytes = Heic(image);
    std::memcpy(bytes.data() + 8, major, 4);
    std::memcpy(bytes.data() + 20, compatible, 4);  // the second compatible brand, "heic"
    return bytes;
}

// The picture as a TIFF of 16 bits per sample, its red, green and blue in separate planes: a
// layout Qt's own reader leaves unwritten.
Bytes PlanarTiff16(const QImage& image, const std::string& path) {
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    const auto width = static_cast<std::uint32_t>(image.width());
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(image.height()));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 16);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_SEPARATE);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 1);
    std::vector<std::uint16_t> row(width);
    for (int plane = 0; plane < 3; ++plane) {
        for (int y = 0; y < image.height(); ++y) {
            for (std::uint32_t x = 0; x < width; ++x) {
                const QRgb pixel = image.pixel(static_cast<int>(x), y);
                const int value = plane == 0   ? qRed(pixel)
                                  : plane == 1 ? qGreen(pixel)
                                               : qBlue(pixel);
                row[x] = static_cast<std::uint16_t>(value * 257);
            }
            TIFFWriteScanline(tiff, row.data(), static_cast<std::uint32_t>(y),
                              static_cast<std::uint16_t>(plane));
        }
    }
    TIFFClose(tiff);
    return ReadBytes(path);
}

// A sample kind of TIFF: bits a sample, their format, the colours stored.
struct TiffKind {
    std::uint16_t bits;
    std::uint16_t format;       // SAMPLEFORMAT_UINT, _INT or _IEEEFP
    std::uint16_t photometric;  // MINISBLACK, MINISWHITE, RGB or SEPARATED (CMYK)
};

// value (0 to 1) as a sample of kind, appended to bits (most significant first) or, for whole
// bytes of 16 and more, to bytes in this machine's order, which libtiff writes as its own.
void PutSample(std::vector<bool>& bits, double value, const TiffKind& kind) {
    std::uint64_t raw = 0;
    if (kind.format == SAMPLEFORMAT_IEEEFP && kind.bits == 32) {
        raw = std::bit_cast<std::uint32_t>(static_cast<float>(value));
    } else if (kind.format == SAMPLEFORMAT_IEEEFP && kind.bits == 64) {
        raw = std::bit_cast<std::uint64_t>(value);
    } else if (kind.format == SAMPLEFORMAT_IEEEFP) {  // 16 (5-bit exponent) or 24 (7-bit)
        const int exponentBits = kind.bits == 16 ? 5 : 7;
        const int mantissaBits = kind.bits - 1 - exponentBits;
        if (value > 0) {
            int exponent = 0;
            const double fraction = std::frexp(value, &exponent);  // value = fraction * 2^exp
            const int bias = (1 << (exponentBits - 1)) - 1;
            const auto mantissa = static_cast<std::uint64_t>(
                std::lround((fraction * 2 - 1) * std::ldexp(1.0, mantissaBits)));
            raw = (static_cast<std::uint64_t>(exponent - 1 + bias) << mantissaBits) |
                  (mantissa & ((1u << mantissaBits) - 1));
        }
    } else {
        const double most = kind.format == SAMPLEFORMAT_INT ? std::ldexp(1.0, kind.bits - 1) - 1
                                                            : std::ldexp(1.0, kind.bits) - 1;
        raw = static_cast<std::uint64_t>(std::llround(value * most));
    }
    if (kind.bits % 8 == 0 && kind.bits >= 16) {
        for (int byte = 0; byte < kind.bits / 8; ++byte)
            for (int bit = 7; bit >= 0; --bit) bits.push_back((raw >> (byte * 8 + bit)) & 1);
        return;
    }
    for (int bit = kind.bits - 1; bit >= 0; --bit) bits.push_back((raw >> bit) & 1);
}

// The picture as a TIFF of kind, its samples together or in planes.
Bytes TiffOfKind(const QImage& image, const TiffKind& kind, bool planes, const std::string& path) {
    const int colours = kind.photometric == PHOTOMETRIC_RGB         ? 3
                        : kind.photometric == PHOTOMETRIC_SEPARATED ? 4
                                                                    : 1;
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(image.width()));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(image.height()));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, colours);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, kind.bits);
    TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, kind.format);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, kind.photometric);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, planes ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 8);
    for (int plane = 0; plane < (planes ? colours : 1); ++plane)
        for (int y = 0; y < image.height(); ++y) {
            std::vector<bool> bits;
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                const std::array<double, 3> rgb{qRed(pixel) / 255.0, qGreen(pixel) / 255.0,
                                                qBlue(pixel) / 255.0};
                std::vector<double> samples;
                if (colours == 1) {
                    const double grey = qGray(pixel) / 255.0;
                    samples = {kind.photometric == PHOTOMETRIC_MINISWHITE ? 1 - grey : grey};
                } else if (colours == 3) {
                    samples = {rgb[0], rgb[1], rgb[2]};
                } else {
                    samples = {1 - rgb[0], 1 - rgb[1], 1 - rgb[2], 0};
                }
                for (int s = 0; s < colours; ++s)
                    if (!planes || s == plane)
                        PutSample(bits, samples[static_cast<std::size_t>(s)], kind);
            }
            std::vector<std::uint8_t> row((bits.size() + 7) / 8);
            for (std::size_t i = 0; i < bits.size(); ++i)
                if (bits[i]) row[i / 8] |= static_cast<std::uint8_t>(0x80 >> (i % 8));
            TIFFWriteScanline(tiff, row.data(), static_cast<std::uint32_t>(y),
                              static_cast<std::uint16_t>(plane));
        }
    TIFFClose(tiff);
    return ReadBytes(path);
}

// An 8-bit bitmap whose colour table holds two colours and whose pixels name colour 200.
Bytes BitmapIndexingPastItsColours() {
    QImage image(64, 48, QImage::Format_Indexed8);
    image.setColorTable({qRgb(200, 0, 0), qRgb(0, 0, 200)});
    image.fill(1);
    Bytes bmp = test::Encode(image, "BMP");
    const std::uint32_t pixels = bmp[10] | bmp[11] << 8;
    std::fill(bmp.begin() + pixels, bmp.end(), 200);
    return bmp;
}

QImage WithClearTopLeft(const QImage& image) {
    QImage clear = image.convertToFormat(QImage::Format_ARGB32);
    QPainter painter(&clear);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(0, 0, image.width() / 2, image.height() / 2, Qt::transparent);
    return clear;
}

// The picture as a PNG of 16 bits a sample, one colour of which its tRNS chunk makes
// transparent, as screenshot tools write them.
Bytes Png16WithTransparentColour(const QImage& image, QRgb transparent) {
    QByteArray rows;
    for (int y = 0; y < image.height(); ++y) {
        rows.append('\0');  // no filter
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            for (const int value : {qRed(pixel), qGreen(pixel), qBlue(pixel)})
                rows.append(2, static_cast<char>(value));  // 16 bits: value * 257, big-endian
        }
    }
    const QByteArray zlib = qCompress(rows).mid(4);  // less Qt's own length prefix
    Bytes header(13, 0);
    test::PutBig32(header, 0, static_cast<std::uint32_t>(image.width()));
    test::PutBig32(header, 4, static_cast<std::uint32_t>(image.height()));
    header[8] = 16;  // bits a sample
    header[9] = 2;   // RGB
    Bytes colour;
    for (const int value : {qRed(transparent), qGreen(transparent), qBlue(transparent)})
        colour.insert(colour.end(), 2, static_cast<std::uint8_t>(value));
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const Bytes& chunk :
         {test::PngChunk("IHDR", header), test::PngChunk("tRNS", colour),
          test::PngChunk("IDAT", Bytes(zlib.begin(), zlib.end())), test::PngChunk("IEND", {})})
        png.insert(png.end(), chunk.begin(), chunk.end());
    return png;
}

// An RGB colour profile whose red and green primaries are sRGB's green and red, with sRGB's
// white and tone curve: a picture tagged with it shows green where its pixels say red.
Bytes SwappedPrimariesProfile() {
    const cmsCIExyY white{0.3127, 0.3290, 1};
    const cmsCIExyYTRIPLE primaries{{0.30, 0.60, 1}, {0.64, 0.33, 1}, {0.15, 0.06, 1}};
    const double srgbCurve[] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    cmsToneCurve* curve = cmsBuildParametricToneCurve(nullptr, 4, srgbCurve);
    cmsToneCurve* curves[] = {curve, curve, curve};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    Bytes bytes(size);
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    cmsFreeToneCurve(curve);
    return bytes;
}

// srgb's pixels as a profile's colours: the values a writer of that colour space stores.
QImage InProfile(const QImage& srgb, cmsHPROFILE profile) {
    cmsHPROFILE from = cmsCreate_sRGBProfile();
    cmsHTRANSFORM transform = cmsCreateTransform(from, TYPE_BGRA_8, profile, TYPE_BGRA_8,
                                                 INTENT_RELATIVE_COLORIMETRIC, 0);
    QImage converted = srgb.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < converted.height(); ++y)
        cmsDoTransform(transform, converted.scanLine(y), converted.scanLine(y),
                       static_cast<cmsUInt32Number>(converted.width()));
    cmsDeleteTransform(transform);
    cmsCloseProfile(from);
    return converted;
}

// Rec. 2020's primaries with D65 white and the given tone curve (lcms2's parametric type 4).
cmsHPROFILE Rec2020Profile(const double (&curve)[5]) {
    const cmsCIExyY white{0.3127, 0.3290, 1};
    const cmsCIExyYTRIPLE primaries{{0.708, 0.292, 1}, {0.170, 0.797, 1}, {0.131, 0.046, 1}};
    cmsToneCurve* tone = cmsBuildParametricToneCurve(nullptr, 4, curve);
    cmsToneCurve* curves[] = {tone, tone, tone};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsFreeToneCurve(tone);
    return profile;
}

// The picture as a video camera codes Rec. 2020 SDR: its primaries, BT.709's camera curve.
QImage AsRec2020(const QImage& srgb) {
    const double bt709[] = {1 / 0.45, 1 / 1.099, 0.099 / 1.099, 1 / 4.5, 0.081};
    cmsHPROFILE profile = Rec2020Profile(bt709);
    QImage coded = InProfile(srgb, profile);
    cmsCloseProfile(profile);
    return coded;
}

// The picture as an HDR photo codes it: Rec. 2020 primaries, PQ, its white at the 203 cd/m2 of
// SDR white.
QImage AsPq(const QImage& srgb) {
    const double linear[] = {1, 1, 0, 0, 0};
    cmsHPROFILE from = cmsCreate_sRGBProfile();
    cmsHPROFILE to = Rec2020Profile(linear);
    cmsHTRANSFORM transform =
        cmsCreateTransform(from, TYPE_BGRA_8, to, TYPE_BGR_DBL, INTENT_RELATIVE_COLORIMETRIC, 0);
    QImage coded = srgb.convertToFormat(QImage::Format_RGB32);
    std::vector<double> light(static_cast<std::size_t>(coded.width()) * 3);
    for (int y = 0; y < coded.height(); ++y) {
        cmsDoTransform(transform, coded.scanLine(y), light.data(),
                       static_cast<cmsUInt32Number>(coded.width()));
        auto* pixel = reinterpret_cast<std::uint8_t*>(coded.scanLine(y));
        for (std::size_t i = 0; i < light.size(); ++i, ++pixel) {
            if (i % 3 == 0 && i > 0) ++pixel;  // past the fourth byte
            const double p = std::pow(std::max(light[i], 0.0) * 203 / 10000, 2610.0 / 16384);
            const double pq =
                std::pow((3424.0 / 4096 + 2413.0 / 128 * p) / (1 + 2392.0 / 128 * p), 2523.0 / 32);
            *pixel = static_cast<std::uint8_t>(std::lround(pq * 255));
        }
    }
    cmsDeleteTransform(transform);
    cmsCloseProfile(to);
    cmsCloseProfile(from);
    return coded;
}

// The picture as an HLG photo codes it, 16 bits a sample (Rec. 2020 primaries, HLG): the light
// that the documented way to SDR (HLG's reference display, 1000 cd/m2 and system gamma 1.2, SDR
// white at 203 cd/m2, then the extended Reinhard operator on luminance with its white at
// 1000 cd/m2) maps back onto the picture, worked back from the formulas of BT.2100.
QImage AsHlg(const QImage& srgb) {
    constexpr double kPeak = 1000.0 / 203, kWhite = 1000.0 / 203, kGamma = 1.2;
    constexpr double a = 0.17883277, b = 1 - 4 * a, c = 0.55991073;
    const double linear[] = {1, 1, 0, 0, 0};
    cmsHPROFILE from = cmsCreate_sRGBProfile();
    cmsHPROFILE to = Rec2020Profile(linear);
    cmsHTRANSFORM transform =
        cmsCreateTransform(from, TYPE_BGRA_8, to, TYPE_RGB_DBL, INTENT_RELATIVE_COLORIMETRIC, 0);
    const QImage rgb = srgb.convertToFormat(QImage::Format_RGB32);
    QImage coded(rgb.size(), QImage::Format_RGBX64);
    std::vector<double> light(static_cast<std::size_t>(rgb.width()) * 3);
    for (int y = 0; y < rgb.height(); ++y) {
        cmsDoTransform(transform, rgb.constScanLine(y), light.data(),
                       static_cast<cmsUInt32Number>(rgb.width()));
        auto* out = reinterpret_cast<QRgba64*>(coded.scanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            double* l = &light[static_cast<std::size_t>(x) * 3];
            for (int i = 0; i < 3; ++i) l[i] = std::max(l[i], 0.0);
            const double mapped = 0.2627 * l[0] + 0.6780 * l[1] + 0.0593 * l[2];
            // The display light Reinhard's operator maps to it; then the scene light whose
            // luminance the system gamma raises to that.
            const double k = 1 / (kWhite * kWhite);
            const double shown =
                mapped <= 0
                    ? 0
                    : (-(1 - mapped) + std::sqrt((1 - mapped) * (1 - mapped) + 4 * k * mapped)) /
                          (2 * k);
            const double scene = std::pow(shown / kPeak, 1 / kGamma);
            std::array<std::uint16_t, 3> value{};
            for (int i = 0; i < 3; ++i) {
                const double e =
                    mapped <= 0 ? 0 : l[i] * shown / mapped / (kPeak * std::pow(scene, kGamma - 1));
                const double v = e <= 1.0 / 12 ? std::sqrt(3 * e) : a * std::log(12 * e - b) + c;
                value[static_cast<std::size_t>(i)] =
                    static_cast<std::uint16_t>(std::lround(std::clamp(v, 0.0, 1.0) * 65535));
            }
            out[x] = QRgba64::fromRgba64(value[0], value[1], value[2], 65535);
        }
    }
    cmsDeleteTransform(transform);
    cmsCloseProfile(to);
    cmsCloseProfile(from);
    return coded;
}

// Smooth as a photo is, in every hue.
QImage SmoothHues() {
    QImage image(320, 240, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, QColor::fromHsv(x * 359 / 319, 80 + y * 175 / 239, 230).rgb());
    return image;
}

// The PNG with a gAMA chunk stating gamma after its header chunk (the chunk's value is it
// times 100000).
Bytes PngWithGamma(Bytes png, double gamma) {
    Bytes value(4);
    test::PutBig32(value, 0, static_cast<std::uint32_t>(std::lround(gamma * 100000)));
    const Bytes chunk = test::PngChunk("gAMA", value);
    png.insert(png.begin() + 8 + 25, chunk.begin(), chunk.end());
    return png;
}

// The root mean square of the differences between two stored pictures' channels, 0 to 1.
double Rmse(const ImportedPicture& a, const ImportedPicture& b) {
    const QImage first = QImage::fromData(a.jpeg.data(), static_cast<int>(a.jpeg.size()));
    const QImage second = QImage::fromData(b.jpeg.data(), static_cast<int>(b.jpeg.size()));
    if (first.size() != second.size() || first.isNull()) return 1;
    double sum = 0;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x) {
            const QRgb p = first.pixel(x, y), q = second.pixel(x, y);
            for (const int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)})
                sum += d * d / (255.0 * 255.0);
        }
    return std::sqrt(sum / (3.0 * first.width() * first.height()));
}

// Adobe RGB (1998): its primaries, D65 white, gamma 563/256.
cmsHPROFILE AdobeRgbProfile() {
    const cmsCIExyY white{0.3127, 0.3290, 1};
    const cmsCIExyYTRIPLE primaries{{0.64, 0.33, 1}, {0.21, 0.71, 1}, {0.15, 0.06, 1}};
    cmsToneCurve* tone = cmsBuildGamma(nullptr, 563.0 / 256);
    cmsToneCurve* curves[] = {tone, tone, tone};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsFreeToneCurve(tone);
    return profile;
}

// The picture as an 8-bit RGB TIFF carrying profile, as photo editors save Adobe RGB.
Bytes TiffWithProfile(const QImage& image, cmsHPROFILE profile, const std::string& path) {
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    Bytes bytes(size);
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    const auto width = static_cast<std::uint32_t>(image.width());
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(image.height()));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_ICCPROFILE, size, bytes.data());
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < rgb.height(); ++y)
        TIFFWriteScanline(tiff, const_cast<uchar*>(rgb.constScanLine(y)),
                          static_cast<std::uint32_t>(y), 0);
    TIFFClose(tiff);
    return ReadBytes(path);
}

// A grey profile of linear light, as scanners write them.
Bytes LinearGreyProfile() {
    cmsToneCurve* linear = cmsBuildGamma(nullptr, 1.0);
    cmsHPROFILE profile = cmsCreateGrayProfile(cmsD50_xyY(), linear);
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    Bytes bytes(size);
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    cmsFreeToneCurve(linear);
    return bytes;
}

// CMYK printed as sRGB shows it, except that cyan ink shows magenta's colour and magenta ink
// cyan's: a picture tagged with it shows green where its inks say red.
void SampleSwappedInks(const cmsUInt16Number in[], cmsUInt16Number out[], void* toLab) {
    const double c = in[0] / 65535.0, m = in[1] / 65535.0, y = in[2] / 65535.0, k = in[3] / 65535.0;
    const double rgb[3] = {(1 - m) * (1 - k), (1 - c) * (1 - k), (1 - y) * (1 - k)};
    cmsCIELab lab;
    cmsDoTransform(toLab, rgb, &lab, 1);
    cmsFloat2LabEncodedV2(out, &lab);
}

Bytes SwappedInksCmykProfile() {
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    cmsHTRANSFORM toLab =
        cmsCreateTransform(srgb, TYPE_RGB_DBL, lab, TYPE_Lab_DBL, INTENT_RELATIVE_COLORIMETRIC, 0);
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 2.1);  // whose lut16 holds a grid alone
    cmsSetDeviceClass(profile, cmsSigOutputClass);
    cmsSetColorSpace(profile, cmsSigCmykData);
    cmsSetPCS(profile, cmsSigLabData);
    cmsPipeline* lut = cmsPipelineAlloc(nullptr, 4, 3);
    cmsStage* grid = cmsStageAllocCLut16bit(nullptr, 9, 4, 3, nullptr);
    cmsStageSampleCLut16bit(
        grid,
        [](const cmsUInt16Number in[], cmsUInt16Number out[], void* cargo) -> cmsInt32Number {
            SampleSwappedInks(in, out, cargo);
            return 1;
        },
        toLab, 0);
    cmsPipelineInsertStage(lut, cmsAT_BEGIN, grid);
    cmsWriteTag(profile, cmsSigAToB0Tag, lut);
    cmsWriteTag(profile, cmsSigMediaWhitePointTag, cmsD50_XYZ());
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    Bytes bytes(size);
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsPipelineFree(lut);
    cmsCloseProfile(profile);
    cmsDeleteTransform(toLab);
    cmsCloseProfile(lab);
    cmsCloseProfile(srgb);
    return bytes;
}

// The picture as a CMYK JPEG as Adobe's programs write it: inverted ink (255 none), K unused.
Bytes CmykJpeg(const QImage& image) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(image.height());
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(image.width()) * 4);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const std::size_t at = static_cast<std::size_t>(x) * 4;
            row[at] = static_cast<std::uint8_t>(qRed(pixel));  // inverted cyan is red's value
            row[at + 1] = static_cast<std::uint8_t>(qGreen(pixel));
            row[at + 2] = static_cast<std::uint8_t>(qBlue(pixel));
            row[at + 3] = 255;
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes bytes(out, out + size);
    std::free(out);
    return bytes;
}

// The profile in an iCCP chunk after the header chunk, compressed as the chunk asks.
Bytes PngWithProfile(Bytes png, const Bytes& profile) {
    const QByteArray zlib = qCompress(QByteArray(reinterpret_cast<const char*>(profile.data()),
                                                 static_cast<qsizetype>(profile.size())))
                                .mid(4);
    Bytes data{'P', 'r', 'o', 'f', 'i', 'l', 'e', 0, 0};  // name, compression method
    data.insert(data.end(), zlib.begin(), zlib.end());
    const Bytes chunk = test::PngChunk("iCCP", data);
    png.insert(png.begin() + 8 + 25, chunk.begin(), chunk.end());
    return png;
}

// The profile in one APP2 segment right after the start marker.
Bytes JpegWithProfile(Bytes jpeg, const Bytes& profile) {
    const std::size_t length = 2 + 12 + 2 + profile.size();
    Bytes segment{0xFF, 0xE2, static_cast<std::uint8_t>(length >> 8),
                  static_cast<std::uint8_t>(length)};
    for (const char c : std::string_view("ICC_PROFILE\0", 12))
        segment.push_back(static_cast<std::uint8_t>(c));
    segment.insert(segment.end(), {1, 1});  // its first of one segment
    segment.insert(segment.end(), profile.begin(), profile.end());
    jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
    return jpeg;
}

// A baseline JPEG whose scan header says its spectral range ends at 0, as some encoders write.
Bytes JpegWithSpectralEndZero(Bytes jpeg) {
    for (std::size_t i = 2; i + 4 < jpeg.size(); ++i) {
        if (jpeg[i] != 0xFF || jpeg[i + 1] != 0xDA) continue;
        const std::size_t components = jpeg[i + 4];
        jpeg[i + 5 + 2 * components + 1] = 0;  // after Ns, the selectors and Ss: Se
        return jpeg;
    }
    return {};
}

// An image block of a GIF: its pixels, where it lies on the logical screen, and how long it is
// shown (hundredths of a second) before the next.
struct GifBlock {
    QPoint at;
    QImage image;
    int delay = 0;
    int transparent = NO_TRANSPARENT_COLOR;  // an index of the block's own colour table
};

// A GIF of a logical screen of screen's size and the blocks, each with its own colour table
// and a graphic control extension, as giflib writes them.
Bytes GifOfBlocks(const std::string& path, QSize screen, const std::vector<GifBlock>& blocks) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, screen.width(), screen.height(), 8, 0, nullptr);
    for (const GifBlock& block : blocks) {
        std::vector<QRgb> table;
        std::vector<GifPixelType> pixels;
        for (int y = 0; y < block.image.height(); ++y)
            for (int x = 0; x < block.image.width(); ++x) {
                const QRgb pixel = block.image.pixel(x, y);
                auto found = std::find(table.begin(), table.end(), pixel);
                if (found == table.end()) found = table.insert(table.end(), pixel);
                pixels.push_back(static_cast<GifPixelType>(found - table.begin()));
            }
        std::vector<GifColorType> colours(256, GifColorType{0, 0, 0});
        for (std::size_t i = 0; i < table.size(); ++i)
            colours[i] = {static_cast<GifByteType>(qRed(table[i])),
                          static_cast<GifByteType>(qGreen(table[i])),
                          static_cast<GifByteType>(qBlue(table[i]))};
        ColorMapObject* map = GifMakeMapObject(256, colours.data());
        GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, block.delay, block.transparent};
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
        EGifPutImageDesc(gif, block.at.x(), block.at.y(), block.image.width(), block.image.height(),
                         false, map);
        for (int y = 0; y < block.image.height(); ++y)
            EGifPutLine(gif, pixels.data() + static_cast<std::ptrdiff_t>(y) * block.image.width(),
                        block.image.width());
        GifFreeMapObject(map);
    }
    EGifCloseFile(gif, &error);
    return ReadBytes(path);
}

// A still of four blocks shown at once, one a quarter each, as true-colour GIFs are made, then a
// white block shown after a delay: an animation's next frame.
Bytes GifOfStackedBlocks(const std::string& path) {
    return GifOfBlocks(path, {160, 120},
                       {{{0, 0}, test::Solid(80, 60, kRed)},
                        {{80, 0}, test::Solid(80, 60, kGreen)},
                        {{0, 60}, test::Solid(80, 60, kBlue)},
                        {{80, 60}, test::Solid(80, 60, kYellow), 10},
                        {{0, 0}, test::Solid(160, 120, qRgb(255, 255, 255)), 10}});
}

// A GIF whose one block starts in the middle of its screen and reaches as far again past it:
// red where it shows, green past the screen.
Bytes GifReachingPastItsScreen(const std::string& path) {
    QImage block = test::Solid(160, 120, kGreen);
    QPainter(&block).fillRect(0, 0, 80, 60, kRed);
    return GifOfBlocks(path, {160, 120}, {{{80, 60}, block}});
}

// A GIF of pixels (indices 0 to 3 into black, red, green, blue) whose LZW stream fills the
// code table to its 4095th code and goes on without a clear code, as some encoders write.
Bytes GifFillingItsCodeTable(int width, int height, const std::vector<std::uint8_t>& pixels) {
    constexpr int kMinimumCodeSize = 2;
    constexpr int kClear = 1 << kMinimumCodeSize;
    std::map<std::pair<int, int>, int> table;  // a code and the pixel after it: a code
    int next = kClear + 2;
    int size = kMinimumCodeSize + 1;
    Bytes data;
    std::uint32_t pending = 0;
    int pendingBits = 0;
    auto put = [&](int code) {
        pending |= static_cast<std::uint32_t>(code) << pendingBits;
        for (pendingBits += size; pendingBits >= 8; pendingBits -= 8, pending >>= 8)
            data.push_back(static_cast<std::uint8_t>(pending));
    };
    put(kClear);
    int run = pixels[0];
    for (std::size_t i = 1; i < pixels.size(); ++i) {
        const std::pair<int, int> longer{run, pixels[i]};
        if (const auto found = table.find(longer); found != table.end()) {
            run = found->second;
            continue;
        }
        put(run);
        if (next < 4096) {
            table[longer] = next++;
            if (next > (1 << size) && size < 12) ++size;
        }
        run = pixels[i];
    }
    put(run);
    put(kClear + 1);
    if (pendingBits > 0) data.push_back(static_cast<std::uint8_t>(pending));
    Bytes gif{'G', 'I', 'F', '8', '9', 'a'};
    auto put16 = [&gif](int value) {
        gif.push_back(static_cast<std::uint8_t>(value));
        gif.push_back(static_cast<std::uint8_t>(value >> 8));
    };
    put16(width);
    put16(height);
    gif.insert(gif.end(), {0xF1, 0, 0, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0x2C});
    put16(0);
    put16(0);
    put16(width);
    put16(height);
    gif.insert(gif.end(), {0, kMinimumCodeSize});
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::size_t count = std::min<std::size_t>(255, data.size() - at);
        gif.push_back(static_cast<std::uint8_t>(count));
        gif.insert(gif.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + count));
    }
    gif.insert(gif.end(), {0, ';'});
    return gif;
}

// An OS/2 bitmap array of two bitmaps, first and second, each after its array header: their
// pixels' offsets count from the start of the file.
Bytes BitmapArray(const Bytes& first, const Bytes& second) {
    auto element = [](const Bytes& bitmap, std::uint32_t at, std::uint32_t next) {
        Bytes header{'B', 'A', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        test::PutLittle32(header, 2, 14 + 14 + 40);  // this header and the bitmap's two
        test::PutLittle32(header, 6, next);
        Bytes moved = bitmap;
        test::PutLittle32(moved, 10, (bitmap[10] | bitmap[11] << 8 | bitmap[12] << 16) + at + 14);
        return test::Join({header, moved});
    };
    const Bytes head = element(first, 0, static_cast<std::uint32_t>(14 + first.size()));
    return test::Join({head, element(second, static_cast<std::uint32_t>(head.size()), 0)});
}

// A progressive JPEG cut where its last scan starts: every scan before it whole, no end marker.
Bytes ProgressiveJpegCutBeforeItsLastScan(const QImage& image) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPG");
    writer.setProgressiveScanWrite(true);
    writer.write(image);
    Bytes jpeg(buffer.data().begin(), buffer.data().end());
    for (std::size_t i = jpeg.size() - 2; i > 2; --i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) return Bytes(jpeg.begin(), jpeg.begin() + i);
    return {};
}

// Fine detail in every colour, at a size that is no multiple of the coding blocks, over several
// rows of them, so that rows decode on different threads and the edges are cropped.
QImage DetailedImage(int width = 333, int height = 251) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x * 5 + y * 3) & 255, (x * y) & 255, (x ^ y) & 255));
    return image;
}

// The id of the HEVC decoder libheif picks, the one it ranks first.
std::string FirstHevcDecoder() {
    const heif_decoder_descriptor* first = nullptr;
    if (heif_get_decoder_descriptors(heif_compression_HEVC, &first, 1) != 1) return {};
    const char* id = heif_decoder_descriptor_get_id_name(first);
    return id == nullptr ? std::string() : id;
}

// The primary image as libheif decodes it to 8-bit RGB, rows packed; empty on failure.
Bytes DecodedRgb(const Bytes& heic) {
    Bytes rgb;
    heif_context* context = heif_context_alloc();
    heif_image_handle* handle = nullptr;
    heif_image* image = nullptr;
    if (heif_context_read_from_memory_without_copy(context, heic.data(), heic.size(), nullptr)
                .code == heif_error_Ok &&
        heif_context_get_primary_image_handle(context, &handle).code == heif_error_Ok &&
        heif_decode_image(handle, &image, heif_colorspace_RGB, heif_chroma_interleaved_RGB, nullptr)
                .code == heif_error_Ok) {
        int stride = 0;
        const std::uint8_t* row =
            heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
        const int width = heif_image_get_width(image, heif_channel_interleaved);
        for (int y = 0; y < heif_image_get_height(image, heif_channel_interleaved);
             ++y, row += stride)
            rgb.insert(rgb.end(), row, row + static_cast<std::ptrdiff_t>(width) * 3);
    }
    heif_image_release(image);
    heif_image_handle_release(handle);
    heif_context_free(context);
    return rgb;
}

}  // namespace

Q_DECLARE_METATYPE(Quarters)
Q_DECLARE_METATYPE(Bytes)

class PictureFormatsTest : public QObject {
    Q_OBJECT

private:
    test::DataFolder m_files;
    Bytes m_detailedHeic;
    Bytes m_libheifsOwnPixels;

    // Decoded by two decoder processes, which must agree: a decoder that read memory it never
    // wrote would not, as each process's memory holds other things.
    ImportedPicture Import(const std::string& name, const Bytes& bytes) {
        const std::string path = m_files.WriteBytes(name, bytes);
        const ImportedPicture first = PreparePicture(path, {}, ConvertPicture);
        const ImportedPicture second = PreparePicture(path, {}, ConvertPicture);
        if (first.jpeg != second.jpeg || first.refusal != second.refusal)
            QTest::qFail("two decoder processes disagree", __FILE__, __LINE__);
        return first;
    }

    // The file a Debian tool makes of input, written as inputName: tool's output file.
    Bytes ToolMade(const std::string& inputName, const Bytes& input, const QString& program,
                   QStringList arguments) {
        const std::string inputPath = m_files.WriteBytes(inputName, input);
        const std::string outputPath = inputPath + ".made";
        arguments << QString::fromStdString(inputPath) << QString::fromStdString(outputPath);
        const test::ToolRun run =
            test::RunTool(program, arguments, QString::fromStdString(m_files.Path()));
        if (run.exitCode != 0) return {};
        return ReadBytes(outputPath);
    }

    // An animated WebP of frames, 100 ms each, as img2webp (Debian's webp) makes it.
    Bytes WebpAnimation(const std::vector<QImage>& frames) {
        QStringList arguments;
        for (std::size_t i = 0; i < frames.size(); ++i)
            arguments << QString::fromStdString(m_files.WriteBytes(
                "frame" + std::to_string(i) + ".png", test::Encode(frames[i], "PNG")));
        const std::string output = m_files.File("animation.webp");
        arguments << "-o" << QString::fromStdString(output);
        const test::ToolRun run =
            test::RunTool("img2webp", arguments, QString::fromStdString(m_files.Path()));
        return run.exitCode == 0 ? ReadBytes(output) : Bytes();
    }

private slots:
    // Before our HEVC decoder is registered in this process: these pixels are libheif's own.
    void initTestCase() {
        heif_init(nullptr);
        QVERIFY(FirstHevcDecoder() != kHevcDecoderPluginId);
        m_detailedHeic = Heic(DetailedImage());
        m_libheifsOwnPixels = DecodedRgb(m_detailedHeic);
        QCOMPARE(m_libheifsOwnPixels.size(), std::size_t{333 * 251 * 3});
    }

    void ThreadedHevcDecoderGivesLibheifsOwnPixels() {
        InitialiseHeif();
        QCOMPARE(FirstHevcDecoder(), std::string(kHevcDecoderPluginId));
        QVERIFY(DecodedRgb(m_detailedHeic) == m_libheifsOwnPixels);
    }

    void EveryOrientationImportsUpright_data() {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<Quarters>("stored");
        // What the camera stored, for the picture to show red, green / blue, yellow upright.
        const std::array<std::pair<const char*, Quarters>, 8> orientations{{
            {"1 upright", {kRed, kGreen, kBlue, kYellow}},
            {"2 mirrored", {kGreen, kRed, kYellow, kBlue}},
            {"3 half turn", {kYellow, kBlue, kGreen, kRed}},
            {"4 flipped", {kBlue, kYellow, kRed, kGreen}},
            {"5 transposed", {kRed, kBlue, kGreen, kYellow}},
            {"6 quarter clockwise", {kGreen, kYellow, kRed, kBlue}},
            {"7 transversed", {kYellow, kGreen, kBlue, kRed}},
            {"8 quarter anticlockwise", {kBlue, kRed, kYellow, kGreen}},
        }};
        for (const QByteArray format : {"JPG", "PNG", "WEBP"})
            for (int i = 0; i < 8; ++i)
                QTest::addRow("%s %s", format.constData(), orientations[i].first)
                    << format << i + 1 << orientations[i].second;
    }

    void EveryOrientationImportsUpright() {
        QFETCH(QByteArray, format);
        QFETCH(int, orientation);
        QFETCH(Quarters, stored);
        const bool portrait = orientation >= 5;
        const QImage camera = QuartersImage(portrait ? 600 : 800, portrait ? 800 : 600, stored);
        const ImportedPicture picture = Import("Turned." + format.toLower().toStdString(),
                                               WithOrientation(camera, format, orientation));
        QVERIFY(picture.Accepted());
        QVERIFY(ShowsQuarters(picture, kUpright));
    }

    void ExtraneousBytesBeforeAMarkerKeepThePicture() {
        const Bytes clean = test::Encode(QuartersImage(800, 600, kUpright), "JPG");
        Bytes damaged = clean;
        for (std::size_t i = 2; i + 1 < damaged.size(); ++i) {
            if (damaged[i] != 0xFF || damaged[i + 1] != 0xDA) continue;
            damaged.insert(damaged.begin() + static_cast<std::ptrdiff_t>(i), {0x12, 0x34});
            break;
        }
        QVERIFY(damaged.size() == clean.size() + 2);
        const ImportedPicture fromDamaged = Import("Damaged.jpg", damaged);
        QVERIFY(fromDamaged.Accepted());
        QCOMPARE(fromDamaged.jpeg, Import("Clean.jpg", clean).jpeg);
    }

    void EachFormatImports_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<Bytes>("bytes");
        const QImage image = QuartersImage(160, 120, kUpright);
        QTest::newRow("tiff") << QByteArray("Photo.tiff") << test::Encode(image, "TIFF");
        QTest::newRow("webp") << QByteArray("Photo.webp") << test::Encode(image, "WEBP");
        QTest::newRow("heic") << QByteArray("Photo.heic") << Heic(image);
        QTest::newRow("heic of brand mif1")
            << QByteArray("Generic.heic") << HeicOfGenericBrand(image);
        QTest::newRow("avif") << QByteArray("Photo.avif") << Avif(image);
        QTest::newRow("png") << QByteArray("Photo.png") << test::Encode(image, "PNG");
    }

    void EachFormatImports() {
        QFETCH(QByteArray, name);
        QFETCH(Bytes, bytes);
        QVERIFY(!bytes.empty());
        const ImportedPicture picture = Import(name.toStdString(), bytes);
        QVERIFY(picture.Accepted());
        QVERIFY(ShowsQuarters(picture, kUpright));
    }

    void CutFilesAreInvalid_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<Bytes>("bytes");
        const QImage image = QuartersImage(320, 240, kUpright);
        QTest::newRow("jpeg") << QByteArray("Cut.jpg") << Cut(test::Encode(image, "JPG"));
        QTest::newRow("png") << QByteArray("Cut.png") << Cut(test::Encode(image, "PNG"));
        QTest::newRow("webp") << QByteArray("Cut.webp") << Cut(test::Encode(image, "WEBP"));
        QTest::newRow("heic") << QByteArray("Cut.heic") << Cut(Heic(image));
        QTest::newRow("heic zero-filled") << QByteArray("Zeros.heic") << ZeroFilled(Heic(image));
        QTest::newRow("avif zero-filled") << QByteArray("Zeros.avif") << ZeroFilled(Avif(image));
        QTest::newRow("avif") << QByteArray("Cut.avif") << Cut(Avif(image));
    }

    void CutFilesAreInvalid() {
        QFETCH(QByteArray, name);
        QFETCH(Bytes, bytes);
        QCOMPARE(Import(name.toStdString(), bytes).refusal, ImportRefusal::InvalidFile);
    }

    // Files as other programs write them, and damage as downloads and memory cards leave it.
    void FilesPeopleHave_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<Bytes>("bytes");
        QTest::addColumn<bool>("imports");
        QTest::addColumn<Quarters>("shows");
        const QImage image = QuartersImage(160, 120, kUpright);
        auto row = [](const char* what, const char* name, const Bytes& bytes, bool imports,
                      const Quarters& shows = kUpright) {
            QTest::newRow(what) << QByteArray(name) << bytes << imports << shows;
        };
        for (const test::BitmapCase& bitmap : test::kBitmaps)
            row(bitmap.name, "Variant.bmp", test::Bitmap(bitmap), true, kNotQuarters);
        row("heic of main brand mif2", "Mif2.heic", HeicWithBrands(image, "mif2", "mif2"), true);
        row("heic of brand mif1 alone", "Mif1.heic", HeicWithBrands(image, "mif1", "mif1"), true);
        row("gif", "Whole.gif", test::kOnePixelGif, true, kNotQuarters);
        Bytes cutGif = test::kOnePixelGif;
        cutGif.resize(cutGif.size() - 2);
        row("gif cut short", "Cut.gif", cutGif, false);
        constexpr QRgb kBlack = qRgb(0, 0, 0);
        row("gif whose frame lies in a corner of its canvas", "Corner.gif",
            GifOfBlocks(m_files.File("corner.gif"), {160, 120},
                        {{{80, 60}, test::Solid(80, 60, kRed)}}),
            true, {kBlack, kBlack, kBlack, kRed});
        row("gif whose frame reaches past its screen", "Past.gif",
            GifReachingPastItsScreen(m_files.File("past.gif")), true,
            {kBlack, kBlack, kBlack, kRed});
        // Its colours are listed as they first appear: red, the top left quarter's, first.
        row("gif with a transparent colour", "Clear.gif",
            GifOfBlocks(m_files.File("clear.gif"), {160, 120}, {{{0, 0}, image, 0, 0}}), true,
            kClearTopLeft);
        row("gif of blocks stacked into a still", "Stacked.gif",
            GifOfStackedBlocks(m_files.File("stacked.gif")), true);
        // Pixels of no pattern, which fill the code table long before the end.
        std::vector<std::uint8_t> indices;
        for (std::uint32_t i = 0, state = 1; i < 320 * 240; ++i) {
            state = state * 1103515245 + 12345;
            indices.push_back(static_cast<std::uint8_t>(state >> 29 & 3));
        }
        row("gif whose codes fill its table", "Full.gif", GifFillingItsCodeTable(320, 240, indices),
            true, kNotQuarters);
        row("png followed by another", "Twice.png",
            test::Join(
                {test::Encode(image, "PNG"), test::Encode(test::Solid(160, 120, kGreen), "PNG")}),
            true);
        row("png padded with zeros", "Padded.png",
            test::Join({test::Encode(image, "PNG"), Bytes(4096, 0)}), true);
        row("os/2 bitmap array", "Array.bmp",
            BitmapArray(test::Encode(image, "BMP"),
                        test::Encode(test::Solid(32, 24, kGreen), "BMP")),
            true);
        row("jpeg whose orientation is a long", "Long.jpg",
            test::JpegWithExif(
                test::Encode(QuartersImage(120, 160, {kGreen, kYellow, kRed, kBlue}), "JPG"),
                test::WithExifHeader(test::TiffWithOrientation(6, false, 4))),
            true);
        Bytes cutRle = test::Bitmap(test::kBitmaps[6]);
        cutRle.resize(cutRle.size() - 6);
        row("run-length bitmap cut short", "Cut.bmp", cutRle, false);
        // 324 MB decoded: within the limit at the 4 bytes a pixel libpng's rows take.
        row("png of 9000 x 9000", "Panorama.png",
            test::Encode(QuartersImage(9000, 9000, kUpright), "PNG"), true);
        row("png of 16 bits with a transparent colour", "Screenshot.png",
            Png16WithTransparentColour(image, kRed), true, kClearTopLeft);
        const Bytes jpeg = test::Encode(image, "JPG");
        row("jpeg without its end marker", "Camera.jpg", Bytes(jpeg.begin(), jpeg.end() - 2), true);
        row("progressive jpeg without its last scan", "Partial.jpg",
            ProgressiveJpegCutBeforeItsLastScan(image), false);
        row("baseline jpeg whose scan ends at 0", "Encoder.jpg", JpegWithSpectralEndZero(jpeg),
            true);
        const Bytes png = test::Encode(QuartersImage(320, 240, kUpright), "PNG");
        row("webp animation whose frames differ", "Animated.webp",
            WebpAnimation({QuartersImage(320, 240, kUpright), test::Solid(320, 240, kGreen)}),
            true);
        row("avif of a 2 x 2 grid", "Grid.avif",
            ToolMade("grid.png", png, "avifenc", {"-s", "10", "--grid", "2x2"}), true);
        row("avif with alpha", "Alpha.avif",
            ToolMade("alpha.png",
                     test::Encode(WithClearTopLeft(QuartersImage(320, 240, kUpright)), "PNG"),
                     "avifenc", {"-s", "10"}),
            true, kClearTopLeft);
        // Transparent pixels that still carry their red, as editors leave them: shown black.
        QImage coloured = QuartersImage(320, 240, kUpright).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 160; ++x) coloured.setPixel(x, y, qRgba(230, 30, 30, 0));
        const Bytes colouredPng = test::Encode(coloured, "PNG");
        row("avif whose transparent pixels carry colour", "Coloured.avif",
            ToolMade("coloured.png", colouredPng, "avifenc", {"-s", "10"}), true, kClearTopLeft);
        // Colours meant in another space than sRGB: red and green change places.
        constexpr Quarters kSwapped{kGreen, kRed, kBlue, kYellow};
        row("png with a colour profile", "Profiled.png",
            PngWithProfile(test::Encode(image, "PNG"), SwappedPrimariesProfile()), true, kSwapped);
        row("avif with a colour profile", "Profiled.avif",
            ToolMade("profiled.png",
                     PngWithProfile(test::Encode(QuartersImage(320, 240, kUpright), "PNG"),
                                    SwappedPrimariesProfile()),
                     "avifenc", {"-s", "10"}),
            true, kSwapped);
        row("cmyk jpeg", "Print.jpg", CmykJpeg(image), true);
        row("cmyk jpeg with a cmyk profile", "PrintProfiled.jpg",
            JpegWithProfile(CmykJpeg(image), SwappedInksCmykProfile()), true, kSwapped);
        row("jpeg with a colour profile", "Profiled.jpg",
            JpegWithProfile(test::Encode(image, "JPG"), SwappedPrimariesProfile()), true, kSwapped);
        row("tiff of uncompressed tiles", "Tiled.tiff",
            ToolMade("strips.tiff", test::Encode(QuartersImage(320, 240, kUpright), "TIFF"),
                     "tiffcp", {"-t", "-c", "none"}),
            true);
        // Sample kinds libtiff's RGBA reader refuses, as scanners, cameras and HDR tools write
        // them.
        const QImage small = QuartersImage(64, 48, kUpright);
        Quarters grey;
        std::transform(kUpright.begin(), kUpright.end(), grey.begin(),
                       [](QRgb c) { return qRgb(qGray(c), qGray(c), qGray(c)); });
        const struct {
            const char* what;
            TiffKind kind;
            bool planes;
        } kinds[] = {
            {"tiff of 12-bit rgb", {12, SAMPLEFORMAT_UINT, PHOTOMETRIC_RGB}, false},
            {"tiff of 32-bit float rgb", {32, SAMPLEFORMAT_IEEEFP, PHOTOMETRIC_RGB}, false},
            {"tiff of 64-bit float rgb planes", {64, SAMPLEFORMAT_IEEEFP, PHOTOMETRIC_RGB}, true},
            {"tiff of 16-bit float rgb", {16, SAMPLEFORMAT_IEEEFP, PHOTOMETRIC_RGB}, false},
            {"tiff of 24-bit float grey", {24, SAMPLEFORMAT_IEEEFP, PHOTOMETRIC_MINISBLACK}, false},
            {"tiff of 16-bit cmyk", {16, SAMPLEFORMAT_UINT, PHOTOMETRIC_SEPARATED}, false},
            {"tiff of 32-bit grey", {32, SAMPLEFORMAT_UINT, PHOTOMETRIC_MINISBLACK}, false},
            {"tiff of 12-bit min-is-white", {12, SAMPLEFORMAT_UINT, PHOTOMETRIC_MINISWHITE}, false},
            {"tiff of signed 16-bit rgb planes", {16, SAMPLEFORMAT_INT, PHOTOMETRIC_RGB}, true},
        };
        for (const auto& kind : kinds)
            row(kind.what, "Kind.tiff",
                TiffOfKind(small, kind.kind, kind.planes, m_files.File("kind.tiff")), true,
                kind.kind.photometric == PHOTOMETRIC_MINISBLACK ||
                        kind.kind.photometric == PHOTOMETRIC_MINISWHITE
                    ? grey
                    : kUpright);
        // Tiled and compressed with the floating-point predictor, as HDR tools save.
        row("tiff of 32-bit float rgb tiles", "Tiles.tiff",
            ToolMade("float.tiff",
                     TiffOfKind(QuartersImage(320, 240, kUpright),
                                {32, SAMPLEFORMAT_IEEEFP, PHOTOMETRIC_RGB}, false,
                                m_files.File("float-strips.tiff")),
                     "tiffcp", {"-t", "-c", "zip:p3"}),
            true);
        row("tiff of 16-bit planes", "Planar.tiff",
            PlanarTiff16(image, m_files.File("planar.tiff")), true);
        // Shown black, the same in every decoder process.
        row("bitmap indexing past its colours", "Past.bmp", BitmapIndexingPastItsColours(), true,
            kNotQuarters);
    }

    void FilesPeopleHave() {
        QFETCH(QByteArray, name);
        QFETCH(Bytes, bytes);
        QFETCH(bool, imports);
        QFETCH(Quarters, shows);
        QVERIFY(!bytes.empty());
        const ImportedPicture picture = Import(name.toStdString(), bytes);
        QCOMPARE(picture.Accepted(), imports);
        if (imports && shows != kNotQuarters) QVERIFY(ShowsQuarters(picture, shows));
    }

    // Colours meant in other spaces than sRGB, shown as meant: each picture of one colour.
    void ColoursComeOutAsMeant_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<Bytes>("bytes");
        QTest::addColumn<QRgb>("shows");
        QTest::addColumn<int>("tolerance");
        const QImage green = test::Solid(320, 240, kGreen);
        cmsHPROFILE adobe = AdobeRgbProfile();
        QTest::newRow("tiff with an adobe rgb profile")
            << QByteArray("Adobe.tiff")
            << TiffWithProfile(InProfile(green, adobe), adobe, m_files.File("adobe.tiff")) << kGreen
            << 12;
        cmsCloseProfile(adobe);
        // Linear light: half its value is 188 in sRGB.
        QTest::newRow("png of gamma 1.0")
            << QByteArray("Linear.png")
            << PngWithGamma(test::Encode(test::Solid(160, 120, qRgb(128, 128, 128)), "PNG"), 1.0)
            << qRgb(188, 188, 188) << 6;
        QTest::newRow("grey jpeg with a grey profile of linear light")
            << QByteArray("Scan.jpg")
            << JpegWithProfile(test::Encode(test::Solid(160, 120, qRgb(128, 128, 128))
                                                .convertToFormat(QImage::Format_Grayscale8),
                                            "JPG"),
                               LinearGreyProfile())
            << qRgb(188, 188, 188) << 6;
        QTest::newRow("avif in rec. 2020")
            << QByteArray("Rec2020.avif")
            << ToolMade("rec2020.png", test::Encode(AsRec2020(green), "PNG"), "avifenc",
                        {"-s", "10", "-y", "444", "--min", "0", "--max", "10", "--cicp", "9/1/9"})
            << kGreen << 12;
        // Tone mapped to a darker green, never to the grey-green of PQ's values shown as sRGB.
        QTest::newRow("avif in pq")
            << QByteArray("Pq.avif")
            << ToolMade("pq.png", test::Encode(AsPq(green), "PNG"), "avifenc",
                        {"-s", "10", "-y", "444", "--min", "0", "--max", "10", "--cicp", "9/16/9"})
            << kGreen << 45;
    }

    void ColoursComeOutAsMeant() {
        QFETCH(QByteArray, name);
        QFETCH(Bytes, bytes);
        QFETCH(QRgb, shows);
        QFETCH(int, tolerance);
        QVERIFY(!bytes.empty());
        const ImportedPicture picture = Import(name.toStdString(), bytes);
        QVERIFY(picture.Accepted());
        const QImage stored =
            QImage::fromData(picture.jpeg.data(), static_cast<int>(picture.jpeg.size()));
        const QRgb centre = stored.pixel(200, 150);
        QVERIFY2(qAbs(qRed(centre) - qRed(shows)) <= tolerance &&
                     qAbs(qGreen(centre) - qGreen(shows)) <= tolerance &&
                     qAbs(qBlue(centre) - qBlue(shows)) <= tolerance,
                 qPrintable(
                     QString("%1 %2 %3").arg(qRed(centre)).arg(qGreen(centre)).arg(qBlue(centre))));
    }

    // A grid decoded a row of tiles at a time and stretched as it comes shows what its whole
    // canvas stretched at once shows, each value within 1 and no seam between its tiles: phones'
    // HEIC grids (made here: no tool in Debian writes one), turned as a phone held upright turns
    // them, and avifenc's grids.
    void GridsStretchedAsTheyComeShowTheirWholeCanvas_data() {
        QTest::addColumn<Bytes>("bytes");
        QTest::newRow("heic grid enlarged, its last tiles cut")
            << test::GridHeic(DetailedImage(), 64);
        QTest::newRow("heic grid shrunk, turned a quarter")
            << test::GridHeic(DetailedImage(1100, 700), 128, 1);
        QTest::newRow("heic grid shrunk, turned half")
            << test::GridHeic(DetailedImage(900, 640), 96, 2);
        QTest::newRow("avif grid of 3 x 2")
            << ToolMade("grid.png", test::Encode(DetailedImage(1152, 768), "PNG"), "avifenc",
                        {"-s", "10", "--grid", "3x2"});
    }

    void GridsStretchedAsTheyComeShowTheirWholeCanvas() {
        QFETCH(Bytes, bytes);
        InitialiseHeif();
        const DecodedPicture whole = FinishedPicture(DecodeHeif(bytes), layout::kPictureSize);
        const std::optional<DecodedPicture> tiled = DecodedTileByTile(bytes, layout::kPictureSize);
        QVERIFY(!whole.Refused());
        QVERIFY(tiled && !tiled->Refused());
        QCOMPARE(tiled->rgb.size(), whole.rgb.size());
        int most = 0;
        for (std::size_t i = 0; i < whole.rgb.size(); ++i)
            most = std::max(most, std::abs(tiled->rgb[i] - whole.rgb[i]));
        QVERIFY2(most <= 1, qPrintable(QString("%1 apart").arg(most)));
    }

    // The same photo coded in a wide gamut or HDR comes out alike its sRGB twin: Rec. 2020 as is,
    // and an HLG photo (a phone's HDR video still, as AVIF) as the SDR picture whose light HLG's
    // reference display and the documented tone mapping give.
    void WideColourPictureMatchesItsSrgbTwin_data() {
        QTest::addColumn<Bytes>("coded");
        QTest::addColumn<double>("most");
        const QImage image = SmoothHues();
        QTest::newRow("rec. 2020")
            << ToolMade("twin.png", test::Encode(AsRec2020(image), "PNG"), "avifenc",
                        {"-s", "10", "-y", "444", "--min", "0", "--max", "4", "--cicp", "9/1/9"})
            << 0.03;
        QTest::newRow("hlg") << ToolMade("hlg.png", test::Encode(AsHlg(image), "PNG"), "avifenc",
                                         {"-s", "10", "-d", "10", "-y", "444", "--min", "0",
                                          "--max", "4", "--cicp", "9/18/9"})
                             << 0.02;
    }

    void WideColourPictureMatchesItsSrgbTwin() {
        QFETCH(Bytes, coded);
        QFETCH(double, most);
        const Bytes srgb =
            ToolMade("twin-srgb.png", test::Encode(SmoothHues(), "PNG"), "avifenc",
                     {"-s", "10", "-y", "444", "--min", "0", "--max", "4", "--cicp", "1/13/6"});
        QVERIFY(!coded.empty() && !srgb.empty());
        const double rmse = Rmse(Import("Coded.avif", coded), Import("Srgb.avif", srgb));
        QVERIFY2(rmse <= most, qPrintable(QString::number(rmse)));
    }

    // A picture smaller than the stored one is interpolated, not made of blocks: a quarter of the
    // way from a red pixel's centre to its blue neighbour's the two blend.
    void EnlargingBlends() {
        QImage pair(2, 1, QImage::Format_RGB32);
        pair.setPixel(0, 0, qRgb(255, 0, 0));
        pair.setPixel(1, 0, qRgb(0, 0, 255));
        const ImportedPicture picture = Import("Pair.png", test::Encode(pair, "PNG"));
        const QImage stored =
            QImage::fromData(picture.jpeg.data(), static_cast<int>(picture.jpeg.size()));
        const QRgb blend = stored.pixel(150, 150);  // 0.25 of the way from red's centre
        QVERIFY2(qRed(blend) > 150 && qRed(blend) < 230 && qBlue(blend) > 30 && qBlue(blend) < 110,
                 qPrintable(QString("%1 %2").arg(qRed(blend)).arg(qBlue(blend))));
    }

    void TransparentPartsLieOnBlack() {
        QImage image(160, 120, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter(&image).fillRect(80, 0, 80, 120, kRed);
        const ImportedPicture picture = Import("Clear.png", test::Encode(image, "PNG"));
        const QImage stored =
            QImage::fromData(picture.jpeg.data(), static_cast<int>(picture.jpeg.size()));
        QVERIFY(Near(stored.pixel(100, 150), qRgb(0, 0, 0)));
        QVERIFY(Near(stored.pixel(300, 150), kRed));
    }

    // A shrunk picture averages every pixel it covers: a checkerboard of single black and white
    // pixels becomes even grey, where sampling some of its pixels would show stripes or moire.
    void ShrinkingAveragesEveryPixel() {
        QImage board(1000, 750, QImage::Format_RGB32);
        for (int y = 0; y < board.height(); ++y)
            for (int x = 0; x < board.width(); ++x)
                board.setPixel(x, y, (x + y) % 2 == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        const ImportedPicture picture = Import("Board.png", test::Encode(board, "PNG"));
        const QImage stored =
            QImage::fromData(picture.jpeg.data(), static_cast<int>(picture.jpeg.size()));
        QCOMPARE(stored.size(), ToQSize(layout::kPictureSize));
        for (int y = 1; y < stored.height() - 1; y += 7)
            for (int x = 1; x < stored.width() - 1; x += 5)
                QVERIFY2(
                    qAbs(qGray(stored.pixel(x, y)) - 128) <= 16,
                    qPrintable(QString("%1, %2: %3").arg(x).arg(y).arg(qGray(stored.pixel(x, y)))));
    }

    void NameThatIsNotUtf8KeepsItsBytes() {
        const std::string latin1 = "caf\xe9.jpg";
        const ImportedPicture picture =
            Import(latin1, test::Encode(QuartersImage(80, 60, kUpright), "JPG"));
        ::unlink(m_files.File(latin1).c_str());  // a name Qt cannot remove by itself
        QVERIFY(picture.Accepted());
        QCOMPARE(picture.libraryName, latin1);
    }
};

QTEST_MAIN(PictureFormatsTest)
#include "PictureFormatsTest.moc"
