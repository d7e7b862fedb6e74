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
QPainterPath HandOutline() {
    QPainterPath hand = Rounded(kHandHotSpotX - 2.5, kHandHotSpotY, 5, 16, 2.5);
    hand = hand.united(Rounded(8.5, 9.5, 5, 9, 2.5));
    hand = hand.united(Rounded(13.0, 10.5, 5, 9, 2.5));
    hand = hand.united(Rounded(17.5, 12.0, 4.5, 8, 2.25));
    hand = hand.united(Rounded(3.5, 14.0, 18.5, 11, 4));
    hand = hand.united(Rounded(6.5, 22.0, 13, 7, 1.5));

    QPainterPath thumb = Rounded(-2.5, -2.25, 9, 4.5, 2.25);
    QTransform toPalm;
    toPalm.translate(3.5, 18.0);
    toPalm.rotate(55);
    return hand.united(toPalm.map(thumb)).simplified();
}

}  // namespace

QImage PaintHandCursor() {
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(0.5, 0.5);
    painter.setPen(QPen(QColor(16, 16, 24), 1.0));
    painter.setBrush(Qt::white);
    painter.drawPath(HandOutline());

    // Creases between the folded fingers.
    painter.setPen(QPen(QColor(16, 16, 24), 0.8));
    painter.drawLine(QPointF(13.0, 14.5), QPointF(13.0, 18.5));
    painter.drawLine(QPointF(17.5, 15.0), QPointF(17.5, 19.0));
    return image;
}

QCursor HandCursor() {
    return QCursor(QPixmap::fromImage(PaintHandCursor()), kHandHotSpotX, kHandHotSpotY);
}
