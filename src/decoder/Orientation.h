#pragma once

#include <QImage>
#include <QImageIOHandler>
#include <QSize>

// The image as a viewer shows it, given its EXIF orientation (1 to 8; see ExifOrientation).
QImage Upright(const QImage& image, int orientation);

// The stored image stretched to size as it shows upright: one stored turned a quarter is
// stretched to the transposed size, then turned, so that only the small image is turned.
QImage UprightStretched(const QImage& stored, int orientation, const QSize& size);

// The EXIF orientation (1 to 8) of an image reader's transformation.
int OrientationOf(QImageIOHandler::Transformations transformation);
