#include "platform/WindowShape.h"

#include <cmath>

QRegion RoundedRectRegion(int width, int height, int ellipseWidth, int ellipseHeight) {
    const double rx = ellipseWidth / 2.0;
    const double ry = ellipseHeight / 2.0;
    QRegion region(0, ry, width, height - 2 * static_cast<int>(ry));
    // Each pixel row of a corner band is as wide as the ellipse is at the row's centre.
    for (int y = 0; y < static_cast<int>(std::ceil(ry)); ++y) {
        const double dy = (ry - (y + 0.5)) / ry;
        const int inset =
            static_cast<int>(std::lround(rx - rx * std::sqrt(std::max(0.0, 1 - dy * dy))));
        region += QRegion(inset, y, width - 2 * inset, 1);
        region += QRegion(inset, height - 1 - y, width - 2 * inset, 1);
    }
    return region;
}
