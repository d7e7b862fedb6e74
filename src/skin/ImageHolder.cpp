#include "skin/ImageHolder.h"

ImageHolder::~ImageHolder() = default;

bool ImageHolder::SetImage(const QRect& rect, std::unique_ptr<SkinImage> image) {
    if (!image) return false;
    m_rect = rect;
    m_image = std::move(image);
    return true;
}

void ImageHolder::Draw(QPainter& painter) const {
    if (m_image)
        m_image->DrawInto(painter, m_rect.left(), m_rect.top(), m_rect.width(), m_rect.height());
}
