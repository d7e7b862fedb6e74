#include "res/HandCursor.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPainterPath Rounded(double x, double y, double width, double height, double radius) {
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, width, height), radius, radius);
    return path;
}

// Index finger up from the hot spot, three fingers folded beside it, thumb on the left.
// Edges lie on half pixels so the one-pixel outline stays sharp.
QPainterPath HandOutline() {
    QPainterPath hand = Rounded(kHandHotSpotX - 1.5, kHandHotSpotY - 0.5, 4, 15, 2);
    hand = hand.united(Rounded(8.5, 6.5, 4, 10, 2));
    hand = hand.united(Rounded(12.5, 7.5, 4, 10, 2));
    hand = hand.united(Rounded(16.5, 9.5, 4, 9, 2));
    hand = hand.united(Rounded(4.5, 12.5, 16, 11, 3));
    hand = hand.united(Rounded(6.5, 21.5, 12, 6, 1));

    QTransform toPalm;
    toPalm.translate(5.5, 17.5);
    toPalm.rotate(-140);
    return hand.united(toPalm.map(Rounded(-1, -2.25, 8, 4.5, 2.25))).simplified();
}

}  // namespace

QImage PaintHandCursor() {
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink(16, 16, 24);
    painter.setPen(QPen(ink, 1.0));
    painter.setBrush(Qt::white);
    painter.drawPath(HandOutline());

    // The gaps between the folded fingers.
    painter.drawLine(QPointF(8.5, 9.5), QPointF(8.5, 14.5));
    painter.drawLine(QPointF(12.5, 10.5), QPointF(12.5, 15.5));
    painter.drawLine(QPointF(16.5, 12.5), QPointF(16.5, 16.5));
    return image;
}

QCursor HandCursor() {
    return QCursor(QPixmap::fromImage(PaintHandCursor()), kHandHotSpotX, kHandHotSpotY);
}
