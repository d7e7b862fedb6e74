#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "AssetFonts.h"
#include "LabelFit.h"
#include "PaintKit.h"
#include "Palette.h"
#include "SkinGlyphs.h"
#include "SkinParts.h"

QImage PaintTitle(const QImage& background, QPoint topLeft, QSize size) {
    QImage image = Piece(background, topLeft, size);
    QPainter painter(&image);
    Smooth(painter);
    painter.drawImage(QPointF(0, 1), IconAt(15, static_cast<int>(image.devicePixelRatio())));
    painter.setFont(AssetFont(13, true));
    painter.setPen(palette::kIce);
    painter.drawText(QRectF(20, 0, size.width() - 20, size.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Corvalin"));
    return image;
}

QImage PaintSectionButton(const QImage& background, QPoint topLeft, QSize size, const char* label,
                          SectionIcon icon, ButtonState state, const Lettering& lettering,
                          const char* name) {
    QImage image = Piece(background, topLeft, size);
    QPainter painter(&image);
    Smooth(painter);
    const double width = size.width();
    const double height = size.height();

    // The selected tab runs into the panel below; the others stop one row short,
    // where the frame line round the content area shows.
    const bool selected = state == ButtonState::MouseDown;
    const double bottom = selected ? height : height - 1;
    QPainterPath tab;
    tab.addRoundedRect(QRectF(0, 2, width, bottom + 8), 6, 6);
    painter.setClipRect(QRectF(0, 0, width, bottom));
    painter.setPen(Qt::NoPen);

    QColor text = palette::kIce;
    QColor glyph = palette::kAmberLight;
    switch (state) {
        case ButtonState::Normal: {
            QLinearGradient fill(QPointF(0, 2), QPointF(0, bottom));
            fill.setColorAt(0.0, QColor(255, 255, 255, 34));
            fill.setColorAt(1.0, QColor(255, 255, 255, 8));
            painter.setBrush(fill);
            painter.drawPath(tab);
            text = palette::kMist;
            glyph = palette::kMist;
            break;
        }
        case ButtonState::MouseOn: {
            // Darker than the panel and outlined, so hover never reads as selected.
            QLinearGradient fill(QPointF(0, 2), QPointF(0, bottom));
            fill.setColorAt(0.0, QColor(50, 94, 164));
            fill.setColorAt(1.0, QColor(28, 60, 118));
            painter.setBrush(fill);
            painter.setPen(QPen(QColor(176, 212, 255, 220), 1.0));
            QPainterPath outline;
            outline.addRoundedRect(QRectF(0.5, 2.5, width - 1, bottom + 8), 5.5, 5.5);
            painter.drawPath(outline);
            break;
        }
        case ButtonState::MouseDown: {
            QLinearGradient fill(QPointF(0, 2), QPointF(0, bottom));
            fill.setColorAt(0.0, palette::kPanelLight);
            fill.setColorAt(0.6, palette::kPanelFill);
            fill.setColorAt(1.0, palette::kPanelFill);
            painter.setBrush(fill);
            painter.drawPath(tab);
            painter.setClipPath(tab);
            painter.fillRect(QRectF(0, 2, width, 3), palette::kAmber);
            break;
        }
    }
    painter.setClipping(false);

    PaintSectionGlyph(painter, QPointF(width / 2 - 8, 8), icon, glyph);
    // Under the icon, inside the tab's sides and above its bottom edge.
    const LabelPlace place{size,
                           QRectF(2, 24, width - 4, height - 25),
                           width - 6,
                           11,
                           8,
                           true,
                           Qt::AlignHCenter | Qt::AlignVCenter,
                           [width](double) { return QRectF(0, 25, width, 12); }};
    painter.setPen(text);
    FitLabel(lettering, label, place, name).Paint(painter);
    return image;
}

QImage PaintCaptionButton(const QImage& background, QPoint topLeft, QSize size, CaptionGlyph glyph,
                          ButtonState state) {
    QImage image = Piece(background, topLeft, size);
    QPainter painter(&image);
    Smooth(painter);
    const bool close = glyph == CaptionGlyph::Close;

    QColor fill(255, 255, 255, 26);
    QColor edge(255, 255, 255, 46);
    QColor ink = palette::kMist;
    double drop = 0;
    if (state == ButtonState::MouseOn) {
        fill = close ? palette::kAlarm : QColor(72, 126, 204);
        edge = close ? QColor(245, 140, 130) : QColor(150, 195, 250);
        ink = Qt::white;
    } else if (state == ButtonState::MouseDown) {
        fill = close ? QColor(150, 40, 36) : QColor(30, 68, 130);
        edge = close ? QColor(200, 90, 84) : QColor(90, 140, 210);
        ink = Qt::white;
        drop = 1;
    }
    painter.setPen(QPen(edge, 1.0));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), 4, 4);
    PaintCaptionGlyph(painter, QPointF(size.width() / 2.0, size.height() / 2.0 + drop), glyph, ink);
    return image;
}
