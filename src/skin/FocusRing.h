#pragma once

#include <QRect>

class QPainter;

// Marks the focused picture button with a ring inside its rectangle: a white band between
// two black lines, which shows on light and dark pictures alike. The skin has no picture
// for it.
void DrawFocusRing(QPainter& painter, const QRect& rect);

// The same ring on a rectangle given in device pixels, for views that place their contents
// in device pixels.
void DrawFocusRingInDevicePixels(QPainter& painter, const QRect& outer);
