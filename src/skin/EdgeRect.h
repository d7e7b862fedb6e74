#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>

#include "core/layout/SkinLayout.h"

// Layouts give rectangles by their edges (left, top, right, bottom), right and bottom exclusive.
inline QRect RectFromEdges(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

inline QRect ToQRect(const layout::Edges& edges) {
    return RectFromEdges(edges.left, edges.top, edges.right, edges.bottom);
}

inline QSize ToQSize(const layout::Size& size) { return QSize(size.width, size.height); }

inline QColor ToQColor(const layout::Rgb& rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

// left <= x < right and top <= y < bottom: a point on the right or bottom edge is outside.
inline bool PointInRect(const QRect& rect, const QPoint& point) {
    return rect.left() <= point.x() && point.x() < rect.left() + rect.width() &&
           rect.top() <= point.y() && point.y() < rect.top() + rect.height();
}
