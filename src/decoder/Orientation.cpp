#include "decoder/Orientation.h"

#include <QTransform>
#include <array>

#include "core/library/ExifOrientation.h"

QImage Upright(const QImage& image, int orientation) {
    switch (orientation) {
        case 2:
            return image.mirrored(true, false);
        case 3:
            return image.transformed(QTransform().rotate(180));
        case 4:
            return image.mirrored(false, true);
        case 5:  // stored transposed: mirrored along the main diagonal
            return image.transformed(QTransform().rotate(90)).mirrored(true, false);
        case 6:
            return image.transformed(QTransform().rotate(90));
        case 7:
            return image.transformed(QTransform().rotate(-90)).mirrored(true, false);
        case 8:
            return image.transformed(QTransform().rotate(-90));
        default:
            return image;
    }
}

QImage UprightStretched(const QImage& stored, int orientation, const QSize& size) {
    const QSize storedSize = SwapsSides(orientation) ? size.transposed() : size;
    const QImage stretched =
        stored.size() == storedSize
            ? stored
            : stored.scaled(storedSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return Upright(stretched, orientation);
}

int OrientationOf(QImageIOHandler::Transformations transformation) {
    // Qt's transformations are flags (mirror 1, flip 2, rotate 90 4); their EXIF numbers by value.
    constexpr std::array<int, 8> kExifOf{1, 2, 4, 3, 6, 7, 5, 8};
    const auto flags = static_cast<std::size_t>(transformation.toInt());
    return flags < kExifOf.size() ? kExifOf[flags] : 1;
}
