#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

#include "AssetFonts.h"
#include "LabelFit.h"
#include "PaintKit.h"
#include "Palette.h"
#include "SkinGlyphs.h"
#include "SkinParts.h"

QImage PaintActionButton(QSize size, const char* label, ActionIcon icon, ButtonState state,
                         int scale, const Lettering& lettering, const char* name) {
    QImage image = Canvas(size.width(), size.height(), palette::kPanelFill, scale);
    QPainter painter(&image);
    Smooth(painter);

    const bool pressed = state == ButtonState::MouseDown;
    const double drop = pressed ? 1 : 0;
    const QRectF body(1, 1 + drop, size.width() - 2, size.height() - 3);
    if (!pressed) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(8, 26, 62, 120));
        painter.drawRoundedRect(body.translated(0, 1.5), 7, 7);
    }

    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    QColor edge(170, 104, 16);
    switch (state) {
        case ButtonState::Normal:
            fill.setColorAt(0.0, palette::kAmberLight);
            fill.setColorAt(1.0, palette::kAmber);
            break;
        case ButtonState::MouseOn:
            fill.setColorAt(0.0, QColor(255, 238, 178));
            fill.setColorAt(1.0, QColor(255, 200, 92));
            edge = Qt::white;
            break;
        case ButtonState::MouseDown:
            fill.setColorAt(0.0, palette::kAmberDeep);
            fill.setColorAt(1.0, QColor(236, 166, 58));
            edge = QColor(140, 82, 8);
            break;
    }
    painter.setPen(QPen(edge, 1.0));
    painter.setBrush(fill);
    painter.drawRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), 6.5, 6.5);

    // A lit top edge on a raised button, a shadowed one on a pressed button.
    painter.setPen(QPen(pressed ? QColor(120, 70, 0, 90) : QColor(255, 255, 255, 150), 1.0));
    painter.drawLine(QPointF(body.left() + 6, body.top() + 1.5),
                     QPointF(body.right() - 6, body.top() + 1.5));

    // The icon and the label centred together on the body, the label clear of its rounded
    // ends.
    const double glyphWidth = icon == ActionIcon::None ? 0 : 12 + 6;
    const QRectF ink = body.adjusted(4 + glyphWidth, 2, -4, -2);
    const LabelPlace place{size,
                           ink,
                           ink.width(),
                           12,
                           9,
                           true,
                           Qt::AlignLeft | Qt::AlignVCenter,
                           [body, glyphWidth](double advance) {
                               const double left = body.center().x() - (glyphWidth + advance) / 2;
                               return QRectF(left + glyphWidth, body.top(), advance + 2,
                                             body.height());
                           }};
    const FittedLabel fitted = FitLabel(lettering, label, place, name);
    if (icon != ActionIcon::None) {
        PaintActionGlyph(painter, QPointF(fitted.rect.left() - glyphWidth, body.center().y() - 6),
                         icon, palette::kInk);
    }
    painter.setPen(palette::kInk);
    fitted.Paint(painter);
    return image;
}

QImage PaintLinkButton(QSize size, const QString& text, LinkIcon icon, bool hover, int scale) {
    QImage image = Canvas(size.width(), size.height(), palette::kPanelFill, scale);
    QPainter painter(&image);
    Smooth(painter);

    QFont font = AssetFont(12, false);
    if (hover) {
        const double textWidth = QFontMetricsF(font).horizontalAdvance(text);
        const double width = std::min(28 + textWidth + 8, size.width() - 1.0);
        painter.setPen(QPen(QColor(255, 255, 255, 70), 1.0));
        painter.setBrush(QColor(255, 255, 255, 38));
        painter.drawRoundedRect(QRectF(0.5, 0.5, width, size.height() - 1), 5, 5);
    }
    PaintLinkGlyph(painter, QPointF(6, (size.height() - 14) / 2.0), icon,
                   hover ? palette::kAmberLight : palette::kIce);
    font.setUnderline(hover);
    painter.setFont(font);
    painter.setPen(hover ? QColor(Qt::white) : palette::kIce);
    painter.drawText(QRectF(28, 0, size.width() - 32, size.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, text);
    return image;
}
