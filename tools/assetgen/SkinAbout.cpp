#include <QLinearGradient>
#include <QPainter>

#include "AssetFonts.h"
#include "LabelFit.h"
#include "Lettering.h"
#include "PaintKit.h"
#include "Palette.h"
#include "SkinParts.h"

QImage PaintAboutCard(QSize size, int scale, const Lettering& lettering, const char* name) {
    QImage image = Canvas(size.width(), size.height(), palette::kPanelFill, scale);
    QPainter painter(&image);
    Smooth(painter);
    const double width = size.width();

    const QRectF card(0.5, 0.5, width - 1, size.height() - 1);
    QLinearGradient fill(card.topLeft(), card.bottomLeft());
    fill.setColorAt(0.0, QColor(32, 68, 128));
    fill.setColorAt(1.0, QColor(15, 36, 78));
    painter.setPen(QPen(QColor(150, 192, 248, 130), 1.0));
    painter.setBrush(fill);
    painter.drawRoundedRect(card, 8, 8);

    painter.drawImage(QPointF(8, 8), IconAt(34, scale));
    painter.setPen(palette::kIce);
    painter.setFont(AssetFont(16, true));
    painter.drawText(QRectF(48, 8, width - 52, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Corvalin"));
    // Beside the icon, under the name, above the rule.
    const LabelPlace version{size,
                             QRectF(48, 27, width - 54, 22),
                             width - 54,
                             10,
                             8,
                             false,
                             Qt::AlignLeft | Qt::AlignVCenter,
                             [width](double) { return QRectF(48, 28, width - 52, 14); }};
    painter.setPen(palette::kAmberLight);
    FitLabel(lettering, PaintedLabel("painted label", "Version 1.0"), version, name).Paint(painter);

    painter.setPen(QPen(QColor(255, 255, 255, 50), 1.0));
    painter.drawLine(QPointF(8, 50.5), QPointF(width - 8, 50.5));

    // Under the rule, inside the card's rounded edge.
    const LabelPlace line{size,
                          QRectF(4, 52, width - 8, size.height() - 54),
                          width - 12,
                          10,
                          8,
                          false,
                          Qt::AlignHCenter | Qt::AlignVCenter,
                          [width](double) { return QRectF(0, 53, width, 18); }};
    painter.setPen(palette::kIce);
    FitLabel(lettering, PaintedLabel("painted label", "Sliding picture puzzle"), line, name)
        .Paint(painter);
    return image;
}
