#include "skin/ImageButton.h"

#include <QWidget>
#include <cmath>

#include "platform/Messages.h"
#include "platform/WindowShape.h"
#include "skin/EdgeRect.h"

ImageButton::~ImageButton() = default;

void ImageButton::SetUp(QWidget* parent, bool latching, int id, const QRect& rect,
                        std::unique_ptr<SkinImage> normal, std::unique_ptr<SkinImage> mouseOn,
                        std::unique_ptr<SkinImage> mouseDown) {
    m_parent = parent;
    m_latching = latching;
    m_id = id;
    m_rect = rect;
    m_normal = std::move(normal);
    m_mouseOn = std::move(mouseOn);
    m_mouseDown = std::move(mouseDown);
}

const SkinImage* ImageButton::CurrentPicture() const {
    // Without its idle look a button shows nothing at all, whatever its state.
    if (!m_normal) return nullptr;
    if (m_selected) return m_mouseDown.get();
    if (!m_hover) return m_normal.get();
    return m_pressed ? m_mouseDown.get() : m_mouseOn.get();
}

void ImageButton::Draw(QPainter& painter) const {
    if (const SkinImage* picture = CurrentPicture()) {
        picture->DrawAt(painter, m_rect.left(), m_rect.top());
    }
}

QRegion ImageButton::Shape(qreal ratio) const {
    if (const SkinImage* picture = CurrentPicture()) {
        if (std::optional<QRegion> opaque = picture->OpaqueArea(ratio)) return *opaque;
    }
    const auto device = [ratio](int length) {
        return static_cast<int>(std::lround(length * ratio));
    };
    const layout::Edges& inset = m_outline.inset;
    const int corner = device(2 * m_outline.radius);
    const QRegion outline =
        RoundedRectRegion(device(m_rect.width() - inset.left - inset.right),
                          device(m_rect.height() - inset.top - inset.bottom), corner, corner)
            .translated(device(inset.left), device(inset.top));
    return outline & QRect(0, 0, device(m_rect.width()), device(m_rect.height()));
}

void ImageButton::OnMouseMove(const QPoint& point) {
    const bool inside = PointInRect(m_rect, point);
    if (inside == m_hover) return;  // no repaint while moving within or outside the button
    m_hover = inside;
    Invalidate();
}

bool ImageButton::OnLButtonDown(const QPoint&) {
    m_pressed = true;
    if (!m_hover) return false;
    Invalidate();
    return true;
}

bool ImageButton::OnLButtonUp(const QPoint&) {
    m_pressed = false;
    return m_hover && Click();
}

bool ImageButton::Click() {
    if (m_latching && m_selected) return false;
    Invalidate();
    PostMessage(m_parent, UM_BUTTONCLICK, static_cast<quintptr>(m_id), 0);
    Select();
    return true;
}

void ImageButton::Select() {
    if (!m_latching) return;
    m_selected = true;
    Invalidate();
    if (m_selectionListener) m_selectionListener();
}

void ImageButton::Deselect() {
    if (!m_latching) return;
    m_selected = false;
    Invalidate();
    if (m_selectionListener) m_selectionListener();
}

void ImageButton::Invalidate() const {
    if (m_parent != nullptr) m_parent->update(m_rect);
}
