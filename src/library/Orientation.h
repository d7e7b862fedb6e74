#pragma once

#include <QImage>

// The image as a viewer shows it, given its EXIF orientation (1 to 8; see ExifOrientation).
QImage Upright(const QImage& image, int orientation);
