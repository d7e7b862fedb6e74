#pragma once

#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QString>
#include <functional>

struct Lettering;

// Where a label goes on its picture and the room it has there, in the picture's logical pixels.
struct LabelPlace {
    QSize picture;
    QRectF ink;      // where every pixel of its ink must lie
    double advance;  // the widest the text may run
    int largest;     // the pixel sizes tried, largest first
    int smallest;
    bool bold;
    int alignment;
    // The rectangle the text is drawn in, given the text's advance.
    std::function<QRectF(double advance)> rect;
};

struct FittedLabel {
    QString text;
    QFont font;
    QRectF rect;
    int alignment;

    void Paint(QPainter& painter) const {
        painter.setFont(font);
        painter.drawText(rect, alignment, text);
    }
};

// The English label as the lettering paints it, at the largest size whose advance fits and
// whose ink, painted at 1x and at 2x alike, lies inside place.ink. Throws std::runtime_error
// naming the language, the picture and the label when no size down to place.smallest fits, or
// when the face has no glyph for one of its characters (another face would stand in).
FittedLabel FitLabel(const Lettering& lettering, const char* english, const LabelPlace& place,
                     const char* picture);
