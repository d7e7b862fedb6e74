#include "skin/FocusRing.h"

#include <QPainter>
#include <QRegion>
#include <cmath>

namespace {

// The region less every pixel within `by` pixels of its outside, stepping alternately to the
// four and the eight neighbours, so that a band keeps close to its width along curves too.
QRegion Shrunk(QRegion region, int by) {
    static constexpr QPoint kNeighbours[] = {{1, 0}, {-1, 0}, {0, 1},  {0, -1},
                                             {1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
    for (int step = 0; step < by; ++step) {
        QRegion kept = region;
        for (int i = 0; i < (step % 2 == 0 ? 4 : 8); ++i) kept &= region.translated(kNeighbours[i]);
        region = kept;
    }
    return region;
}

void Fill(QPainter& painter, const QRegion& region, const QColor& colour) {
    for (const QRect& rect : region) painter.fillRect(rect, colour);
}

}  // namespace

void DrawFocusRing(QPainter& painter, const QRegion& shape) {
    // Drawn in device pixels, each band a whole number of them (1, 2 and 1 logical pixels,
    // rounded): at 1.5 logical widths would fall between device pixels and come out uneven.
    const qreal ratio = painter.device()->devicePixelRatioF();
    const auto device = [ratio](int length) {
        return static_cast<int>(std::lround(length * ratio));
    };
    const QRegion inside1 = Shrunk(shape, device(1));
    const QRegion inside2 = Shrunk(inside1, device(2));
    const QRegion inside3 = Shrunk(inside2, device(1));
    painter.save();
    painter.scale(1 / ratio, 1 / ratio);
    Fill(painter, shape - inside1, Qt::black);
    Fill(painter, inside1 - inside2, Qt::white);
    Fill(painter, inside2 - inside3, Qt::black);
    painter.restore();
}
