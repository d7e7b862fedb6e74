#pragma once

#include <QByteArray>
#include <QImage>
#include <QRegion>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

class QPainter;

// A decoded raster image. One whose decoding failed still exists: it measures 0 x 0 and draws
// nothing. Nothing refers to the source: an image made from bytes
// keeps a copy of them and decodes on first use, so pictures of hidden panels and of button
// states not yet seen cost no decoding at start.
class SkinImage {
public:
    // Gives the bytes of the same picture at twice the width and height, or none; asked once,
    // when the picture is first drawn on a device of more than one pixel per logical pixel, so
    // that a screen at a scale of 1 never holds them.
    using Source2x = std::function<QByteArray()>;

    // Decodes encoded bytes (JPEG, BMP, any format Qt reads). Null only when out of memory.
    // source2x, when given, gives the 2x picture, drawn instead above a ratio of 1.
    static std::unique_ptr<SkinImage> CreateFromBytes(std::span<const std::uint8_t> bytes,
                                                      Source2x source2x = {});
    SkinImage(const SkinImage&) = delete;
    SkinImage& operator=(const SkinImage&) = delete;
    virtual ~SkinImage();

    // Pixels; 0 when decoding failed.
    unsigned GetWidth() const;
    unsigned GetHeight() const;

    // Draws the whole image stretched or shrunk into (x, y, width, height), smoothed (bilinear)
    // when that is not its own size. Draws nothing when decoding failed. Above one device pixel
    // per logical pixel the 2x picture is drawn where there is one: pixel for pixel at 2,
    // smoothly scaled at any other ratio. Without one the picture is drawn as at 1, scaled up
    // pixel by pixel.
    void DrawInto(QPainter& painter, int x, int y, int width, int height) const;
    // Draws the image at its own size with its top-left corner at (x, y).
    void DrawAt(QPainter& painter, int x, int y) const;

    // The pixels at least half opaque of the image as DrawAt draws it at (0, 0) on a device of
    // ratio device pixels per logical pixel, in device pixels; nullopt when every pixel is
    // opaque (a JPEG, say).
    std::optional<QRegion> OpaqueArea(qreal ratio) const;

private:
    SkinImage(QByteArray encoded, Source2x source2x);

    // The pixels, decoded now if they were not yet.
    const QImage& Pixels() const;
    // The 2x pixels, decoded now if they were not yet; null when there are none.
    const QImage& Pixels2x() const;
    // The size in logical pixels: of the 1x picture, or half the 2x picture's when only that
    // one has been decoded.
    QSize OwnSize() const;

    mutable QImage m_image;
    mutable QByteArray m_encoded;  // bytes not decoded yet; empty once decoded
    mutable QImage m_image2x;
    mutable Source2x m_source2x;  // asked once, then emptied
};

// The program's 8-bit text (file names in the system's encoding, UTF-8 here) as a QString;
// text that is not valid in that encoding is read as Latin-1.
QString WidenText(std::string_view text);
