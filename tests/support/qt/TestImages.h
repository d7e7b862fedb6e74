#pragma once

// Pictures for tests, made in code and encoded to bytes (BMP, JPEG, PNG), libraries of them,
// and checks of rendered pixels.

#include <QBuffer>
#include <QImage>
#include <QRect>
#include <cstdint>
#include <string>
#include <vector>

#include "support/DataFolder.h"

namespace test {

// The image as a file of the given format ("BMP", "JPG", "PNG") would hold it.
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

// Every pixel tells where it came from: red = x / 2, green = y, blue = the picture's tag.
inline QImage PatternPicture(int tag) {
    QImage image(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) image.setPixel(x, y, qRgb(x / 2, y % 256, tag));
    return image;
}

// The colour of the i-th picture of a solid library.
inline QRgb PictureColour(int i) { return qRgb(40 * i + 20, 200 - 30 * i, 90); }

// A library of 400 x 300 BMPs, one per name: picture i in PictureColour(i).
inline std::vector<NamedPicture> SolidLibrary(const std::vector<std::string>& names) {
    std::vector<NamedPicture> pictures;
    for (std::size_t i = 0; i < names.size(); ++i)
        pictures.emplace_back(names[i], SolidBmp(400, 300, PictureColour(static_cast<int>(i))));
    return pictures;
}

// A library of 400 x 300 BMPs, one per name: picture i is PatternPicture(10 + i).
inline std::vector<NamedPicture> PatternLibrary(const std::vector<std::string>& names = {
                                                    "First.jpg", "Second.jpg"}) {
    std::vector<NamedPicture> pictures;
    for (std::size_t i = 0; i < names.size(); ++i)
        pictures.emplace_back(names[i], Encode(PatternPicture(10 + static_cast<int>(i)), "BMP"));
    return pictures;
}

// Writes an image file into folder; returns its path.
inline std::string WriteImage(const DataFolder& folder, const std::string& name,
                              const QImage& image, const char* format) {
    return folder.WriteBytes(name, Encode(image, format));
}

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
