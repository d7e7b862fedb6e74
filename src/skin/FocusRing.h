#pragma once

class QPainter;
class QRegion;

// Marks the focused picture button with a ring along the inside of its shape (in the device
// pixels of painter's device, from ImageButton::Shape): a white band between two black lines,
// which shows on light and dark pictures alike. The skin has no picture for it.
void DrawFocusRing(QPainter& painter, const QRegion& shape);
