#pragma once

#include <QRegion>

class QPainter;
class QWidget;

// A rectangle of width x height pixels with its corners rounded by an ellipse of
// ellipseWidth x ellipseHeight, as a region a window can be cut to.
QRegion RoundedRectRegion(int width, int height, int ellipseWidth, int ellipseHeight);

// Every pixel that the same rounded rectangle covers at all, partly covered edge pixels included.
QRegion RoundedRectCover(int width, int height, int ellipseWidth, int ellipseHeight);

// Whether the window system composites, so the desktop shows through a translucent window:
// always under Wayland, under X11 while a compositing manager runs.
bool WindowSystemComposites();

// Rounds the corners of a top-level window that is not yet shown. Where the window system
// composites, the window becomes translucent, its paint ends with CutRoundedCorners and input
// outside the covered pixels passes through; elsewhere a one-bit region cuts the window.
void ShapeWindow(QWidget* window, int ellipseWidth, int ellipseHeight);

// Whether ShapeWindow chose the anti-aliased corners for this window.
bool HasSmoothCorners(const QWidget* window);

// Makes what lies outside the rounded rectangle transparent, anti-aliased along the curve;
// pixels wholly inside keep their colour.
void CutRoundedCorners(QPainter& painter, int width, int height, int ellipseWidth,
                       int ellipseHeight);
