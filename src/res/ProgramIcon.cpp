#include "res/ProgramIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

namespace {

// The design is laid out on a 256-unit square and scaled to the size asked for.
constexpr double kUnits = 256.0;
constexpr double kGridLeft = 36.0;
constexpr double kTile = 58.0;
constexpr double kGap = 6.0;
// The tile beside the gap is drawn part way into it, as if sliding.
constexpr double kSlide = 16.0;

QRectF TileRect(int row, int col) {
    return {kGridLeft + col * (kTile + kGap), kGridLeft + row * (kTile + kGap), kTile, kTile};
}

// The picture the tiles are cut from: a sunset over two hills, spanning the whole grid.
void PaintScene(QPainter& painter) {
    const QRectF grid(kGridLeft, kGridLeft, 3 * kTile + 2 * kGap, 3 * kTile + 2 * kGap);
    QLinearGradient sky(grid.topLeft(), grid.bottomLeft());
    sky.setColorAt(0.0, QColor(96, 62, 168));
    sky.setColorAt(0.35, QColor(236, 104, 124));
    sky.setColorAt(0.62, QColor(255, 192, 100));
    painter.fillRect(grid, sky);

    const QPointF sun(146, 124);
    QRadialGradient glow(sun, 80);
    glow.setColorAt(0.0, QColor(255, 244, 200, 230));
    glow.setColorAt(1.0, QColor(255, 244, 200, 0));
    painter.fillRect(grid, glow);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 240, 176));
    painter.drawEllipse(sun, 36, 36);

    QPainterPath farHill;
    farHill.moveTo(grid.left(), 160);
    farHill.cubicTo(90, 126, 150, 184, grid.right(), 146);
    farHill.lineTo(grid.bottomRight());
    farHill.lineTo(grid.bottomLeft());
    painter.setBrush(QColor(58, 150, 168));
    painter.drawPath(farHill);

    QPainterPath nearHill;
    nearHill.moveTo(grid.left(), 190);
    nearHill.cubicTo(100, 150, 170, 210, grid.right(), 176);
    nearHill.lineTo(grid.bottomRight());
    nearHill.lineTo(grid.bottomLeft());
    QLinearGradient green(QPointF(0, 160), QPointF(0, grid.bottom()));
    green.setColorAt(0.0, QColor(40, 176, 120));
    green.setColorAt(1.0, QColor(18, 110, 96));
    painter.setBrush(green);
    painter.drawPath(nearHill);
}

void PaintTile(QPainter& painter, int row, int col, double shift) {
    const QRectF home = TileRect(row, col);
    QPainterPath shape;
    shape.addRoundedRect(home.translated(shift, 0), 10, 10);

    painter.save();
    painter.setClipPath(shape);
    painter.translate(shift, 0);
    PaintScene(painter);
    painter.restore();

    QLinearGradient shine(home.topLeft(), home.bottomLeft());
    shine.setColorAt(0.0, QColor(255, 255, 255, 90));
    shine.setColorAt(0.5, QColor(255, 255, 255, 0));
    painter.setPen(QPen(QColor(10, 24, 52, 120), 2.0));
    painter.setBrush(shine);
    painter.drawPath(shape);
}

}  // namespace

QImage PaintProgramIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kUnits, size / kUnits);

    QLinearGradient base(QPointF(0, 0), QPointF(kUnits, kUnits));
    base.setColorAt(0.0, QColor(54, 106, 179));
    base.setColorAt(1.0, QColor(14, 32, 70));
    painter.setPen(QPen(QColor(8, 20, 44), 4.0));
    painter.setBrush(base);
    painter.drawRoundedRect(QRectF(6, 6, kUnits - 12, kUnits - 12), 48, 48);

    // The empty cell, sunk into the base.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(6, 16, 38, 170));
    painter.drawRoundedRect(TileRect(2, 2), 10, 10);

    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            if (row == 2 && col == 2) continue;
            PaintTile(painter, row, col, row == 2 && col == 1 ? kSlide : 0.0);
        }
    }
    return image;
}

QIcon ProgramIcon() {
    // Painting costs about the same at every size, and the window is built at start-up: paint
    // once and shrink for the smaller sizes. Larger icons come from the installed icon theme.
    const QImage painted = PaintProgramIcon(128);
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(painted));
    for (int size : {64, 48, 32, 24, 16}) {
        icon.addPixmap(QPixmap::fromImage(
            painted.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    }
    return icon;
}
