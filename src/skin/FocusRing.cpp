#include "skin/FocusRing.h"

#include <QPainter>
#include <cmath>

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

int DevicePixels(int length, qreal ratio) { return static_cast<int>(std::lround(length * ratio)); }

}  // namespace

void DrawFocusRing(QPainter& painter, const QRect& rect) {
    // Drawn in device pixels, each band a whole number of them (1, 2 and 1 logical pixels,
    // rounded): at 1.5 logical widths would fall between device pixels and come out uneven.
    const qreal ratio = painter.device()->devicePixelRatioF();
    const auto device = [ratio](int length) { return DevicePixels(length, ratio); };
    const QRect outer(device(rect.x()), device(rect.y()), device(rect.width()),
                      device(rect.height()));
    DrawFocusRingInDevicePixels(painter, outer);
}

void DrawFocusRingInDevicePixels(QPainter& painter, const QRect& outer) {
    const qreal ratio = painter.device()->devicePixelRatioF();
    const auto device = [ratio](int length) { return DevicePixels(length, ratio); };
    const int line = device(1);
    const int band = device(2);
    painter.save();
    painter.scale(1 / ratio, 1 / ratio);
    Band(painter, outer, 0, line, Qt::black);
    Band(painter, outer, line, band, Qt::white);
    Band(painter, outer, line + band, line, Qt::black);
    painter.restore();
}
