#include "LabelFit.h"

#include <QFontMetricsF>
#include <QImage>
#include <QRawFont>
#include <stdexcept>

#include "AssetFonts.h"
#include "Lettering.h"
#include "PaintKit.h"

namespace {

// The logical rectangle covered by every pixel the text inks when painted at scale.
QRectF InkAt(const FittedLabel& label, QSize picture, int scale) {
    QImage layer(picture * scale, QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(scale);
    layer.fill(Qt::transparent);
    {
        QPainter painter(&layer);
        Smooth(painter);
        painter.setPen(Qt::black);
        label.Paint(painter);
    }
    int left = layer.width();
    int top = layer.height();
    int right = -1;
    int bottom = -1;
    for (int y = 0; y < layer.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
        for (int x = 0; x < layer.width(); ++x) {
            if (qAlpha(row[x]) == 0) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return {};
    return QRectF(QPointF(left, top) / scale, QPointF(right + 1, bottom + 1) / scale);
}

// Appended rather than "\"" + text: g++ 12 at -O3 warns falsely (-Wrestrict) on the prefix form.
std::string Quoted(const QString& text) {
    std::string quoted(1, '"');
    quoted += text.toStdString();
    quoted += '"';
    return quoted;
}

}  // namespace

FittedLabel FitLabel(const Lettering& lettering, const char* english, const LabelPlace& place,
                     const char* picture) {
    const QString text = lettering.Text(english);
    const std::string where =
        lettering.Name() + ": " + picture + ": the label " + Quoted(text) +
        (text == QString::fromUtf8(english) ? "" : " (" + std::string(english) + ")");
    // The face's own glyphs: a font's metrics would count those of the faces that stand in.
    const QRawFont face =
        QRawFont::fromFont(AssetFont(place.largest, place.bold, lettering.family));
    for (const char32_t character : text.toStdU32String()) {
        if (character != U' ' && !face.supportsCharacter(static_cast<uint>(character))) {
            throw std::runtime_error(where + " has a character that " +
                                     lettering.family.toStdString() + " lacks");
        }
    }
    for (int size = place.largest; size >= place.smallest; --size) {
        const QFont font = AssetFont(size, place.bold, lettering.family);
        const double advance = QFontMetricsF(font).horizontalAdvance(text);
        if (advance > place.advance) continue;
        const FittedLabel label{text, font, place.rect(advance), place.alignment};
        if (place.ink.contains(InkAt(label, place.picture, 1)) &&
            place.ink.contains(InkAt(label, place.picture, 2)))
            return label;
    }
    throw std::runtime_error(where + " does not fit its button, even at " +
                             std::to_string(place.smallest) + " px: word it shorter");
}
