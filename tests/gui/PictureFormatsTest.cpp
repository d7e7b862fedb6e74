// Every kind of photo a player has: upright whatever its EXIF orientation, accepted when every
// pixel decoded despite harmless damage, refused when cut short, in each format, under any name.

#include <tiffio.h>
#include <unistd.h>

#include <QPainter>
#include <QTest>
#include <cstring>

#include "core/layout/SkinLayout.h"
#include "decoder/HeifDecoder.h"
#include "decoder/HevcDecoderPlugin.h"
#include "library/PictureImport.h"
#include "skin/EdgeRect.h"
#include "support/ExifChunks.h"
#include "support/PictureBytes.h"
#include "support/qt/HeifBytes.h"
#include "support/qt/TestImages.h"

namespace {

constexpr QRgb kRed = qRgb(230, 30, 30);
constexpr QRgb kGreen = qRgb(30, 220, 40);
constexpr QRgb kBlue = qRgb(30, 40, 220);
constexpr QRgb kYellow = qRgb(240, 230, 30);

// Four quarters: top left, top right, bottom left, bottom right.
using Quarters = std::array<QRgb, 4>;
constexpr Quarters kUpright{kRed, kGreen, kBlue, kYellow};

// The sanitizers' allocator fills new memory its own way, so a decoder's reads of memory it
// never wrote look the same in both decodes there.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kFillBytesSeen = false;
#else
constexpr bool kFillBytesSeen = true;
#endif

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

// Fine detail in every colour, at a size that is no multiple of the coding blocks, over several
// rows of them, so that rows decode on different threads and the edges are cropped.
QImage DetailedImage() {
    QImage image(333, 251, QImage::Format_RGB32);
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

    ImportedPicture Import(const std::string& name, const Bytes& bytes) {
        return PreparePicture(m_files.WriteBytes(name, bytes), {}, ConvertPicture);
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

    // libheif frees its pixels when the decoding returns: a picture that already has the size
    // asked for must not come back as a view of them.
    void AHeifPictureOfTheAskedSizeOwnsItsPixels() {
        const QSize size = ToQSize(layout::kPictureSize);
        QImage image = DecodeHeif(Heic(QuartersImage(size.width(), size.height(), kUpright)), size);
        QCOMPARE(image.size(), size);
        const uchar* decoded = image.constBits();
        image.bits();  // copies pixels the image only borrows
        QCOMPARE(image.constBits(), decoded);
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
        QTest::addColumn<bool>("quarters");  // made from the quarters picture
        const QImage image = QuartersImage(160, 120, kUpright);
        auto row = [](const char* what, const char* name, const Bytes& bytes, bool imports,
                      bool quarters = true) {
            QTest::newRow(what) << QByteArray(name) << bytes << imports << quarters;
        };
        // Not the 56-byte header, which Qt's reader does not know, nor the 4-bit run-length
        // ones: their reader leaves the row they skip unwritten, so they are refused as garbage.
        for (const test::BitmapCase& bitmap : test::kBitmaps)
            if (bitmap.headerSize != 56 && bitmap.compression != test::kRunLength4)
                row(bitmap.name, "Variant.bmp", test::Bitmap(bitmap), true, false);
        row("heic of main brand mif2", "Mif2.heic", HeicWithBrands(image, "mif2", "mif2"), true);
        row("heic of brand mif1 alone", "Mif1.heic", HeicWithBrands(image, "mif1", "mif1"), true);
        row("gif", "Whole.gif", test::kOnePixelGif, true, false);
        Bytes cutGif = test::kOnePixelGif;
        cutGif.resize(cutGif.size() - 2);
        row("gif cut short", "Cut.gif", cutGif, false);
        Bytes cutRle = test::Bitmap(test::kBitmaps[6]);
        cutRle.resize(cutRle.size() - 6);
        row("run-length bitmap cut short", "Cut.bmp", cutRle, false);
        row("png of 6000 x 6000", "Panorama.png",
            test::Encode(QuartersImage(6000, 6000, kUpright), "PNG"), true);
        row("tiff of 16-bit planes", "Planar.tiff",
            PlanarTiff16(image, m_files.File("planar.tiff")), true);
        if (kFillBytesSeen)
            row("bitmap indexing past its colours", "Past.bmp", BitmapIndexingPastItsColours(),
                false);
    }

    void FilesPeopleHave() {
        QFETCH(QByteArray, name);
        QFETCH(Bytes, bytes);
        QFETCH(bool, imports);
        QFETCH(bool, quarters);
        const ImportedPicture picture = Import(name.toStdString(), bytes);
        QCOMPARE(picture.Accepted(), imports);
        if (imports && quarters) QVERIFY(ShowsQuarters(picture, kUpright));
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
