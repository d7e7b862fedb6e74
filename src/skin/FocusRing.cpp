#include "skin/FocusRing.h"

#include <QPainter>

namespace {

// One band of the ring, inset from the outside, as four filled edges (exact pixels).
void Band(QPainter& painter, const QRect& outer, int inset, int width, const QColor& colour) {
    const QRect r = outer.adjusted(inset, inset, -inset, -inset);
    if (r.width() <= 2 * width || r.height() <= 2 * width) return;
    painter.fillRect(r.x(), r.y(), r.width(), width, colour);
    painter.fillRect(r.x(), r.y() + r.height() - width, r.width(), width, colour);
    painter.fillRect(r.x(), r.y(), width, r.height(), colour);
    painter.fillRect(r.x() + r.width() - width, r.y(), width, r.height(), colour);
}

}  // namespace

void DrawFocusRing(QPainter& painter, const QRect& rect) {
    Band(painter, rect, 0, 1, Qt::black);
    Band(painter, rect, 1, 2, Qt::white);
    Band(painter, rect, 3, 1, Qt::black);
}
