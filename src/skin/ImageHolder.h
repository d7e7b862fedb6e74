#pragma once

#include <QRect>
#include <memory>

#include "skin/SkinImage.h"

class QPainter;

// A rectangle with one picture drawn stretched into it.
class ImageHolder {
public:
    ImageHolder() = default;
    ImageHolder(const ImageHolder&) = delete;
    ImageHolder& operator=(const ImageHolder&) = delete;
    virtual ~ImageHolder();

    // Takes the picture and its destination. Given none, returns false and keeps the rectangle
    // and picture it had, so a picture missing from the skin leaves the holder as it was.
    bool SetImage(const QRect& rect, std::unique_ptr<SkinImage> image);

    // Draws the picture stretched into the rectangle; nothing without a picture.
    void Draw(QPainter& painter) const;

    const QRect& Rect() const { return m_rect; }
    // True when it holds a picture that decoded to at least one pixel, so Draw covers Rect.
    bool HasPicture() const {
        return m_image != nullptr && m_image->GetWidth() > 0 && m_image->GetHeight() > 0;
    }

private:
    QRect m_rect{0, 0, 0, 0};
    std::unique_ptr<SkinImage> m_image;
};
