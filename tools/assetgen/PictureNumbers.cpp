#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "AssetFonts.h"
#include "PaintKit.h"
#include "Pictures.h"

// The classic numbered puzzle, cut for the largest board: 6 rows of 8 cells of 50 pixels.
// The hue follows the column and the depth of colour the row, so even a tile cut
// across two numbers on a smaller board shows where it belongs.
QImage PaintNumbers() {
    constexpr int kRows = 6;
    constexpr int kColumns = 8;
    constexpr double kCell = 50;
    QImage image = Canvas(kPictureWidth, kPictureHeight, QColor(18, 28, 58));
    QPainter painter(&image);
    Smooth(painter);
    const QFont font = AssetFont(24, true);
    const QFontMetricsF metrics(font);

    for (int row = 0; row < kRows; ++row) {
        for (int col = 0; col < kColumns; ++col) {
            const QRectF tile(col * kCell + 2, row * kCell + 2, kCell - 4, kCell - 4);
            const double hue = col * 300.0 / (kColumns - 1);
            const double saturation = 0.42 + row * 0.09;
            const double value = 1.0 - row * 0.05;
            QLinearGradient fill(tile.topLeft(), tile.bottomLeft());
            fill.setColorAt(0.0, Hsv(hue, saturation - 0.15, value));
            fill.setColorAt(1.0, Hsv(hue + 8, saturation + 0.08, value - 0.14));
            painter.setPen(QPen(Hsv(hue, 0.9, 0.35), 1.0));
            painter.setBrush(fill);
            painter.drawRoundedRect(tile.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
            painter.setPen(QPen(QColor(255, 255, 255, 110), 1.0));
            painter.drawLine(QPointF(tile.left() + 7, tile.top() + 2.5),
                             QPointF(tile.right() - 7, tile.top() + 2.5));

            const QString number = QString::number(row * kColumns + col + 1);
            const QPointF baseline(tile.center().x() - metrics.horizontalAdvance(number) / 2,
                                   tile.center().y() + metrics.capHeight() / 2);
            QPainterPath glyphs;
            glyphs.addText(baseline, font, number);
            painter.setPen(
                QPen(QColor(16, 22, 44), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(glyphs);
            painter.setPen(Qt::NoPen);
            painter.setBrush(Qt::white);
            painter.drawPath(glyphs);
        }
    }
    return image;
}
