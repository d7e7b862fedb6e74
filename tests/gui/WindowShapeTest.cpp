#include <QPainter>
#include <QPainterPath>
#include <QTest>

#include "platform/WindowShape.h"

namespace {

constexpr int kWidth = 634;
constexpr int kHeight = 373;
constexpr int kEllipse = 11;
constexpr int kCornerBox = 7;  // the ellipse's radius, rounded up, and one more

// Every pixel a different opaque colour, so a moved or blended pixel shows.
QImage Pattern() {
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) image.setPixel(x, y, qRgb(x % 256, y % 256, 90));
    return image;
}

bool InCornerBox(int x, int y) {
    return (x < kCornerBox || x >= kWidth - kCornerBox) &&
           (y < kCornerBox || y >= kHeight - kCornerBox);
}

}  // namespace

class WindowShapeTest : public QObject {
    Q_OBJECT

private slots:
    void cutCornersFadeAlongTheCurveAndLeaveTheRestAlone() {
        const QImage before = Pattern();
        QImage after = before;
        QPainter painter(&after);
        CutRoundedCorners(painter, kWidth, kHeight, kEllipse, kEllipse);
        painter.end();

        QPainterPath shape;
        shape.addRoundedRect(QRectF(0, 0, kWidth, kHeight), kEllipse / 2.0, kEllipse / 2.0);
        int blended = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const QRectF pixel(x, y, 1, 1);
                if (!InCornerBox(x, y) || shape.contains(pixel)) {
                    QCOMPARE(after.pixel(x, y), before.pixel(x, y));
                } else if (!shape.intersects(pixel)) {
                    QCOMPARE(qAlpha(after.pixel(x, y)), 0);
                } else if (qAlpha(after.pixel(x, y)) > 0 && qAlpha(after.pixel(x, y)) < 255) {
                    ++blended;
                }
            }
        }
        for (QPoint corner : {QPoint(0, 0), QPoint(633, 0), QPoint(0, 372), QPoint(633, 372)})
            QCOMPARE(qAlpha(after.pixel(corner)), 0);
        // A one-bit cut would leave no pixel half seen: each corner's curve has several.
        QVERIFY2(blended >= 4 * 4, qPrintable(QString::number(blended)));
    }

    void theCoverHoldsTheOneBitRegionAndEveryHalfSeenPixel() {
        const QRegion cover = RoundedRectCover(kWidth, kHeight, kEllipse, kEllipse);
        const QRegion oneBit = RoundedRectRegion(kWidth, kHeight, kEllipse, kEllipse);
        QCOMPARE(cover.intersected(oneBit), oneBit);
        QVERIFY(cover != oneBit);
        QImage cut = Pattern();
        QPainter painter(&cut);
        CutRoundedCorners(painter, kWidth, kHeight, kEllipse, kEllipse);
        painter.end();
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                QCOMPARE(cover.contains(QPoint(x, y)), qAlpha(cut.pixel(x, y)) > 0);
    }

    void withoutACompositorTheWindowIsCutByTheOneBitRegion() {
        QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
        window.setFixedSize(kWidth, kHeight);
        ShapeWindow(&window, kEllipse, kEllipse);
        QVERIFY(!WindowSystemComposites());
        QVERIFY(!HasSmoothCorners(&window));
        QCOMPARE(window.mask(), RoundedRectRegion(kWidth, kHeight, kEllipse, kEllipse));
    }
};

QTEST_MAIN(WindowShapeTest)
#include "WindowShapeTest.moc"
