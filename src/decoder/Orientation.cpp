#include "decoder/Orientation.h"

#include <QTransform>

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
    switch (static_cast<int>(transformation)) {
        case QImageIOHandler::TransformationMirror:
            return 2;
        case QImageIOHandler::TransformationRotate180:
            return 3;
        case QImageIOHandler::TransformationFlip:
            return 4;
        case QImageIOHandler::TransformationFlipAndRotate90:
            return 5;
        case QImageIOHandler::TransformationRotate90:
            return 6;
        case QImageIOHandler::TransformationMirrorAndRotate90:
            return 7;
        case QImageIOHandler::TransformationRotate270:
            return 8;
        default:
            return 1;
    }
}
