#include "library/Orientation.h"

#include <QTransform>

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
