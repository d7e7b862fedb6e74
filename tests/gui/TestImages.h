#pragma once

// Pictures for tests, made in code: solid colours encoded to bytes, and checks of rendered
// pixels.

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QRect>
#include <cstdint>
#include <memory>
#include <vector>

#include "skin/SkinImage.h"

namespace test {

inline std::vector<std::uint8_t> Encode(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return {bytes.begin(), bytes.end()};
}

inline QImage Solid(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// BMP keeps colours exact, so drawn pixels can be compared one for one.
inline std::vector<std::uint8_t> SolidBmp(int width, int height, QRgb colour) {
    return Encode(Solid(width, height, colour), "BMP");
}

inline std::unique_ptr<SkinImage> SolidPicture(int width, int height, QRgb colour) {
    return SkinImage::CreateFromBytes(SolidBmp(width, height, colour));
}

// The surface a test paints on, filled with one colour.
inline QImage Canvas(int width, int height, QRgb colour) { return Solid(width, height, colour); }

// True when every pixel inside rect is colour.
inline bool AllPixelsAre(const QImage& image, const QRect& rect, QRgb colour) {
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (image.pixel(x, y) != colour) return false;
    return true;
}

// True when every pixel outside rect is colour.
inline bool AllPixelsOutsideAre(const QImage& image, const QRect& rect, QRgb colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!rect.contains(x, y) && image.pixel(x, y) != colour) return false;
    return true;
}

// The smallest rectangle holding every pixel that differs from colour; null when none does.
inline QRect PaintedArea(const QImage& image, QRgb colour) {
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != colour) area |= QRect(x, y, 1, 1);
    return area;
}

}  // namespace test
