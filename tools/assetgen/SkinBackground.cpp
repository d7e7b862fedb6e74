#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "PaintKit.h"
#include "Palette.h"
#include "SkinParts.h"
#include "skin/EdgeRect.h"

namespace {

constexpr int kWidth = layout::kWindowRect.right;
constexpr int kHeight = layout::kWindowRect.bottom;
// The content area the panels cover; only the band around it shows.
const QRect kContent = ToQRect(layout::kContentRect);

// A strip of small tiles in the empty part of the top band, fading in towards the
// caption buttons, one amber tile above the empty slot: the puzzle as an ornament.
void PaintTileStrip(QPainter& painter) {
    constexpr int kTile = 10;
    constexpr int kStep = 14;
    constexpr int kLeft = 296;
    constexpr int kColumns = 20;
    constexpr int kTop = 33;
    painter.setPen(Qt::NoPen);
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < kColumns; ++col) {
            const bool last = col == kColumns - 1;
            if (row == 1 && last) continue;
            const double t = static_cast<double>(col) / (kColumns - 1);
            const int alpha = static_cast<int>(30 + 150 * t * t);
            const QRectF tile(kLeft + col * kStep, kTop + row * kStep, kTile, kTile);
            QLinearGradient fill(tile.topLeft(), tile.bottomLeft());
            const QColor top = row == 0 && last ? palette::kAmberLight : palette::kPanelLight;
            const QColor bottom = row == 0 && last ? palette::kAmber : palette::kPanelFill;
            fill.setColorAt(0.0, WithAlpha(top, row == 0 && last ? 255 : alpha));
            fill.setColorAt(1.0, WithAlpha(bottom, row == 0 && last ? 255 : alpha));
            painter.setBrush(fill);
            painter.drawRoundedRect(tile, 2.5, 2.5);
        }
    }
}

}  // namespace

QImage PaintBackground(int scale) {
    QImage image = Canvas(kWidth, kHeight, Qt::black, scale);
    const QRect whole(0, 0, kWidth, kHeight);
    QPainter painter(&image);
    Smooth(painter);

    QLinearGradient band(QPointF(0, 0), QPointF(0, kHeight));
    band.setColorAt(0.0, QColor(28, 60, 114));
    band.setColorAt(static_cast<double>(kContent.top()) / kHeight, palette::kBandTop);
    band.setColorAt(1.0, palette::kBandBottom);
    painter.fillRect(whole, band);

    QRadialGradient sheen(QPointF(90, -40), 330);
    sheen.setColorAt(0.0, QColor(120, 170, 240, 80));
    sheen.setColorAt(1.0, QColor(120, 170, 240, 0));
    painter.fillRect(whole, sheen);

    PaintTileStrip(painter);

    // A hairline frame round the content area and along the window's rounded edge.
    painter.setPen(QPen(WithAlpha(palette::kFrameLine, 150), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(kContent).adjusted(-0.5, -0.5, 0.5, 0.5));
    painter.setPen(QPen(QColor(150, 190, 245, 90), 1.0));
    painter.drawRoundedRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 1), 5.5, 5.5);
    return image;
}
