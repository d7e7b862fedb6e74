#include <QPainter>
#include <QTest>

#include "core/package/ImagePackage.h"
#include "skin/PackageImage.h"
#include "skin/SkinImage.h"
#include "support/qt/TestImages.h"

namespace {

constexpr QRgb kWhite = 0xffffffff;
constexpr QRgb kRed = 0xffff0000;
constexpr QRgb kBlue = 0xff0000ff;
constexpr QRgb kGreen = 0xff00ff00;

// Two pixels side by side, red then blue.
std::vector<std::uint8_t> RedBlueBmp() {
    QImage image(2, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, kRed);
    image.setPixel(1, 0, kBlue);
    return test::Encode(image, "BMP");
}

QImage DrawnInto(const SkinImage& image, int x, int y, int width, int height) {
    QImage canvas = test::Solid(8, 6, kWhite);
    QPainter painter(&canvas);
    image.DrawInto(painter, x, y, width, height);
    return canvas;
}

// A 24-bit BMP header claiming 60000 x 60000 pixels, followed by no pixel data.
std::vector<std::uint8_t> BmpClaimingHugeSize() {
    std::vector<std::uint8_t> bytes(54, 0);
    auto put32 = [&bytes](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, 54);      // file size
    put32(10, 54);     // offset of the pixels
    put32(14, 40);     // info header size
    put32(18, 60000);  // width
    put32(22, 60000);  // height
    bytes[26] = 1;     // planes
    bytes[28] = 24;    // bits per pixel
    return bytes;
}

}  // namespace

class SkinImageTest : public QObject {
    Q_OBJECT

private slots:
    void BmpBytesDecodeToTheirSize() {
        const auto image = SkinImage::CreateFromBytes(test::SolidBmp(6, 4, kRed));
        QVERIFY(image);
        QCOMPARE(image->GetWidth(), 6u);
        QCOMPARE(image->GetHeight(), 4u);
    }

    void JpegBytesDecodeCloseToTheirColour() {
        const auto image =
            SkinImage::CreateFromBytes(test::Encode(test::Solid(16, 8, 0xff3366cc), "JPG"));
        QCOMPARE(image->GetWidth(), 16u);
        QCOMPARE(image->GetHeight(), 8u);
        const QImage canvas = DrawnInto(*image, 0, 0, 8, 6);
        const QColor centre = canvas.pixelColor(4, 3);
        QVERIFY(qAbs(centre.red() - 0x33) <= 4);
        QVERIFY(qAbs(centre.green() - 0x66) <= 4);
        QVERIFY(qAbs(centre.blue() - 0xcc) <= 4);
    }

    // Stretched either way, the two pixels blend where they meet: a nearest-pixel stretch would
    // show only red and blue.
    void DrawIntoSmoothsAStretchAndStaysInsideTheRectangle_data() {
        QTest::addColumn<QRect>("target");
        QTest::newRow("widened") << QRect(1, 2, 6, 3);
        QTest::newRow("narrowed") << QRect(0, 0, 1, 1);
    }

    void DrawIntoSmoothsAStretchAndStaysInsideTheRectangle() {
        QFETCH(QRect, target);
        const auto image = SkinImage::CreateFromBytes(RedBlueBmp());
        const QImage canvas =
            DrawnInto(*image, target.x(), target.y(), target.width(), target.height());
        const QColor middle = canvas.pixelColor(target.center().x(), target.center().y());
        QVERIFY2(middle.red() > 60 && middle.blue() > 60, qPrintable(middle.name()));
        QVERIFY(test::AllPixelsOutsideAre(canvas, target, kWhite));
    }

    void DrawIntoAtItsOwnSizeIsPixelExact() {
        const auto image = SkinImage::CreateFromBytes(RedBlueBmp());
        const QImage canvas = DrawnInto(*image, 3, 1, 2, 1);
        QCOMPARE(canvas.pixel(3, 1), kRed);
        QCOMPARE(canvas.pixel(4, 1), kBlue);
        QVERIFY(test::AllPixelsOutsideAre(canvas, QRect(3, 1, 2, 1), kWhite));
    }

    void DrawAtPaintsTheNaturalSize() {
        const auto image = SkinImage::CreateFromBytes(test::SolidBmp(3, 2, kGreen));
        QImage canvas = test::Solid(8, 6, kWhite);
        QPainter painter(&canvas);
        image->DrawAt(painter, 4, 1);
        painter.end();
        QCOMPARE(test::PaintedArea(canvas, kWhite), QRect(4, 1, 3, 2));
        QVERIFY(test::AllPixelsAre(canvas, QRect(4, 1, 3, 2), kGreen));
    }

    void BytesThatAreNoImageGiveAnEmptyImageThatDrawsNothing() {
        const std::vector<std::uint8_t> junk = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'g'};
        const auto image = SkinImage::CreateFromBytes(junk);
        QVERIFY(image);
        QCOMPARE(image->GetWidth(), 0u);
        QCOMPARE(image->GetHeight(), 0u);
        const QImage canvas = DrawnInto(*image, 0, 0, 8, 6);
        QVERIFY(test::AllPixelsAre(canvas, canvas.rect(), kWhite));
    }

    void NoBytesGiveAnEmptyImage() {
        const auto image = SkinImage::CreateFromBytes({});
        QVERIFY(image);
        QCOMPARE(image->GetWidth(), 0u);
    }

    void AnImageDeclaringAGiantSizeIsRefusedInsteadOfAllocated() {
        const auto image = SkinImage::CreateFromBytes(BmpClaimingHugeSize());
        QCOMPARE(image->GetWidth(), 0u);
        QCOMPARE(image->GetHeight(), 0u);
    }

    void OneEntryAskedForTwiceGivesTwoIndependentImages() {
        ImagePackage package;
        package.AddEntry("Green.bmp", test::SolidBmp(2, 2, kGreen));
        auto first = GetImage(package, "Green.bmp");
        const auto second = GetImage(package, "Green.bmp");
        QVERIFY(first && second);
        QVERIFY(first.get() != second.get());
        first.reset();
        const QImage canvas = DrawnInto(*second, 0, 0, 2, 2);
        QVERIFY(test::AllPixelsAre(canvas, QRect(0, 0, 2, 2), kGreen));
    }

    void BytesOfTheSameLengthButAnotherPictureDecodeAsThatPicture() {
        std::vector<std::uint8_t> bytes = test::SolidBmp(2, 2, kRed);
        const auto red = SkinImage::CreateFromBytes(bytes);
        bytes = test::SolidBmp(2, 2, kBlue);  // same length, same place in memory
        const auto blue = SkinImage::CreateFromBytes(bytes);
        QVERIFY(test::AllPixelsAre(DrawnInto(*red, 0, 0, 2, 2), QRect(0, 0, 2, 2), kRed));
        QVERIFY(test::AllPixelsAre(DrawnInto(*blue, 0, 0, 2, 2), QRect(0, 0, 2, 2), kBlue));
    }

    void ImageOutlivesThePackageEntryItCameFrom() {
        ImagePackage package;
        package.AddEntry("Red.bmp", test::SolidBmp(2, 2, kRed));
        const auto image = GetImage(package, "Red.bmp");
        package.Clear();
        const QImage canvas = DrawnInto(*image, 0, 0, 2, 2);
        QVERIFY(test::AllPixelsAre(canvas, QRect(0, 0, 2, 2), kRed));
    }

    void NameMissingFromThePackageGivesNoImage() {
        ImagePackage package;
        package.AddEntry("Sea.jpg", test::SolidBmp(2, 2, kBlue));
        QVERIFY(!GetImage(package, "sea.jpg"));
        QVERIFY(!GetImage(ImagePackage(), "Sea.jpg"));
    }

    void EntryThatDoesNotDecodeGivesAnEmptyImage() {
        ImagePackage package;
        package.AddEntry("Broken.jpg", {0xFF, 0xD8, 0xFF});
        QTest::ignoreMessage(QtWarningMsg, "JPEG datastream contains no image");
        const auto image = GetImage(package, "Broken.jpg");
        QVERIFY(image);
        QCOMPARE(image->GetWidth(), 0u);
    }

    void WidenTextOfAShorterTextAfterALongerOneIsExactlyTheShorter() {
        const QString longer = WidenText("/home/player/Pictures/Mountains.bmp");
        const QString shorter = WidenText("/tmp/a.jpg");
        QCOMPARE(shorter, QStringLiteral("/tmp/a.jpg"));
        QCOMPARE(longer, QStringLiteral("/home/player/Pictures/Mountains.bmp"));
    }

    void WidenTextOfNothingIsEmpty() { QCOMPARE(WidenText(""), QString()); }

    void WidenTextReadsTheSystemEncoding() {
        QCOMPARE(WidenText("M\xc3\xbchle.bmp"), QString::fromUtf8("M\u00fchle.bmp"));
    }

    void WidenTextReadsANameThatIsNotUtf8AsLatin1() {
        QCOMPARE(WidenText("caf\xe9.jpg"), QString::fromUtf8("caf\u00e9.jpg"));
    }
};

QTEST_MAIN(SkinImageTest)
#include "SkinImageTest.moc"
