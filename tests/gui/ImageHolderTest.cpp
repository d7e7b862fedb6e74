#include <QPainter>
#include <QTest>

#include "skin/EdgeRect.h"
#include "skin/ImageHolder.h"
#include "support/qt/SkinPictures.h"

namespace {

constexpr QRgb kFill = 0xff366ab3;
constexpr QRgb kRed = 0xffff0000;
constexpr QRgb kGreen = 0xff00ff00;

QImage Drawn(const ImageHolder& holder) {
    QImage canvas = test::Solid(40, 30, kFill);
    QPainter painter(&canvas);
    holder.Draw(painter);
    return canvas;
}

// Checks that the holder paints exactly rect, all of it in colour.
void ExpectPaintsOnly(const ImageHolder& holder, const QRect& rect, QRgb colour) {
    const QImage canvas = Drawn(holder);
    QCOMPARE(test::PaintedArea(canvas, kFill), rect);
    QVERIFY(test::AllPixelsAre(canvas, rect, colour));
}

}  // namespace

class ImageHolderTest : public QObject {
    Q_OBJECT

private slots:
    void PictureIsStretchedIntoTheRectangle() {
        ImageHolder holder;
        QVERIFY(holder.SetImage(RectFromEdges(3, 4, 30, 21), test::SolidPicture(2, 2, kRed)));
        ExpectPaintsOnly(holder, QRect(3, 4, 27, 17), kRed);
    }

    void HolderWithoutPictureDrawsNothing() {
        ImageHolder holder;
        QVERIFY(!holder.SetImage(RectFromEdges(0, 0, 40, 30), nullptr));
        QVERIFY(test::AllPixelsAre(Drawn(holder), QRect(0, 0, 40, 30), kFill));
    }

    void GivenNoPictureTheHolderKeepsItsRectangleAndPicture() {
        ImageHolder holder;
        holder.SetImage(RectFromEdges(1, 1, 5, 5), test::SolidPicture(2, 2, kGreen));
        QVERIFY(!holder.SetImage(RectFromEdges(10, 10, 20, 20), nullptr));
        QCOMPARE(holder.Rect(), RectFromEdges(1, 1, 5, 5));
        ExpectPaintsOnly(holder, QRect(1, 1, 4, 4), kGreen);
    }

    void NewPictureReplacesTheOldOneAndItsRectangle() {
        ImageHolder holder;
        holder.SetImage(RectFromEdges(1, 1, 5, 5), test::SolidPicture(2, 2, kGreen));
        QVERIFY(holder.SetImage(RectFromEdges(10, 12, 16, 15), test::SolidPicture(3, 3, kRed)));
        ExpectPaintsOnly(holder, QRect(10, 12, 6, 3), kRed);
    }

    void PictureThatFailedToDecodeDrawsNothing() {
        ImageHolder holder;
        const std::vector<std::uint8_t> junk = {1, 2, 3, 4};
        QVERIFY(holder.SetImage(RectFromEdges(0, 0, 40, 30), SkinImage::CreateFromBytes(junk)));
        QVERIFY(test::AllPixelsAre(Drawn(holder), QRect(0, 0, 40, 30), kFill));
    }
};

QTEST_MAIN(ImageHolderTest)
#include "ImageHolderTest.moc"
