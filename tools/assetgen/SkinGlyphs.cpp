#include "SkinGlyphs.h"

#include <QPainterPath>

namespace {

QPen Stroke(const QColor& color, double width) {
    QPen pen(color, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void PaintGameGlyph(QPainter& painter, const QColor& color) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawRoundedRect(QRectF(0, 0, 7, 7), 1.5, 1.5);
    painter.drawRoundedRect(QRectF(9, 0, 7, 7), 1.5, 1.5);
    painter.drawRoundedRect(QRectF(0, 9, 7, 7), 1.5, 1.5);
    painter.setPen(Stroke(color, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(9.5, 9.5, 6, 6), 1.5, 1.5);
}

void PaintPicturesGlyph(QPainter& painter, const QColor& color) {
    painter.setPen(Stroke(color, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(0.75, 1.75, 14.5, 12.5), 2, 2);
    QPainterPath hills;
    hills.moveTo(2.5, 12.5);
    hills.lineTo(6.5, 7);
    hills.lineTo(9.5, 10.5);
    hills.lineTo(11.5, 8.5);
    hills.lineTo(13.5, 12.5);
    hills.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPath(hills);
    painter.drawEllipse(QPointF(11.2, 5.2), 1.5, 1.5);
}

void PaintScoresGlyph(QPainter& painter, const QColor& color) {
    QPainterPath cup;
    cup.moveTo(3.5, 0.5);
    cup.lineTo(12.5, 0.5);
    cup.cubicTo(12.5, 7.5, 10, 9.5, 8, 9.5);
    cup.cubicTo(6, 9.5, 3.5, 7.5, 3.5, 0.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPath(cup);
    painter.drawRect(QRectF(7, 9, 2, 3.5));
    painter.drawRoundedRect(QRectF(4, 12.5, 8, 2.5), 1, 1);
    painter.setPen(Stroke(color, 1.3));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(0.7, 1.5, 5, 5), 90 * 16, 180 * 16);
    painter.drawArc(QRectF(10.3, 1.5, 5, 5), -90 * 16, 180 * 16);
}

void PaintAboutGlyph(QPainter& painter, const QColor& color) {
    painter.setPen(Stroke(color, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(8, 8), 7.2, 7.2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(QPointF(8, 4.6), 1.2, 1.2);
    painter.drawRoundedRect(QRectF(7.1, 6.6, 1.8, 5.8), 0.6, 0.6);
}

}  // namespace

void PaintSectionGlyph(QPainter& painter, QPointF origin, SectionIcon icon, const QColor& color) {
    painter.save();
    painter.translate(origin);
    switch (icon) {
        case SectionIcon::Game:
            PaintGameGlyph(painter, color);
            break;
        case SectionIcon::Pictures:
            PaintPicturesGlyph(painter, color);
            break;
        case SectionIcon::Scores:
            PaintScoresGlyph(painter, color);
            break;
        case SectionIcon::About:
            PaintAboutGlyph(painter, color);
            break;
    }
    painter.restore();
}

void PaintActionGlyph(QPainter& painter, QPointF origin, ActionIcon icon, const QColor& color) {
    painter.save();
    painter.translate(origin);
    switch (icon) {
        case ActionIcon::None:
            break;
        case ActionIcon::Plus:
            painter.setPen(Qt::NoPen);
            painter.setBrush(color);
            painter.drawRoundedRect(QRectF(4.8, 0.5, 2.4, 11), 1, 1);
            painter.drawRoundedRect(QRectF(0.5, 4.8, 11, 2.4), 1, 1);
            break;
        case ActionIcon::Bin: {
            painter.setPen(Qt::NoPen);
            painter.setBrush(color);
            painter.drawRoundedRect(QRectF(0.5, 1.6, 11, 1.8), 0.8, 0.8);
            painter.drawRoundedRect(QRectF(4.2, 0, 3.6, 2), 0.8, 0.8);
            QPainterPath body;
            body.moveTo(1.8, 4.2);
            body.lineTo(10.2, 4.2);
            body.lineTo(9.3, 12);
            body.lineTo(2.7, 12);
            body.closeSubpath();
            painter.drawPath(body);
            break;
        }
    }
    painter.restore();
}

void PaintLinkGlyph(QPainter& painter, QPointF origin, LinkIcon icon, const QColor& color) {
    painter.save();
    painter.translate(origin);
    painter.setPen(Stroke(color, 1.3));
    painter.setBrush(Qt::NoBrush);
    switch (icon) {
        case LinkIcon::Mail: {
            painter.drawRoundedRect(QRectF(0.65, 1.65, 14.7, 10.7), 1.5, 1.5);
            QPainterPath flap;
            flap.moveTo(1.5, 2.8);
            flap.lineTo(8, 8);
            flap.lineTo(14.5, 2.8);
            painter.drawPath(flap);
            break;
        }
        case LinkIcon::Globe:
            painter.drawEllipse(QPointF(8, 7), 6.4, 6.4);
            painter.drawEllipse(QPointF(8, 7), 2.8, 6.4);
            painter.drawLine(QPointF(1.6, 7), QPointF(14.4, 7));
            painter.drawLine(QPointF(3, 3.6), QPointF(13, 3.6));
            painter.drawLine(QPointF(3, 10.4), QPointF(13, 10.4));
            break;
    }
    painter.restore();
}

void PaintCaptionGlyph(QPainter& painter, QPointF centre, CaptionGlyph glyph, const QColor& color) {
    painter.save();
    painter.setPen(Stroke(color, 1.8));
    switch (glyph) {
        case CaptionGlyph::Minimise:
            painter.drawLine(centre + QPointF(-3.5, 3), centre + QPointF(3.5, 3));
            break;
        case CaptionGlyph::Close:
            painter.drawLine(centre + QPointF(-3.2, -3.2), centre + QPointF(3.2, 3.2));
            painter.drawLine(centre + QPointF(-3.2, 3.2), centre + QPointF(3.2, -3.2));
            break;
    }
    painter.restore();
}
