#pragma once

#include <QRegion>

// A rectangle of width x height pixels with its corners rounded by an ellipse of
// ellipseWidth x ellipseHeight, as a region a window can be cut to.
QRegion RoundedRectRegion(int width, int height, int ellipseWidth, int ellipseHeight);
