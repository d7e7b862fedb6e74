#pragma once

#include <QPoint>
#include <QRect>

// Layouts give rectangles by their edges (left, top, right, bottom), right and bottom exclusive.
inline QRect RectFromEdges(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

// left <= x < right and top <= y < bottom: a point on the right or bottom edge is outside.
inline bool PointInRect(const QRect& rect, const QPoint& point) {
    return rect.left() <= point.x() && point.x() < rect.left() + rect.width() &&
           rect.top() <= point.y() && point.y() < rect.top() + rect.height();
}
