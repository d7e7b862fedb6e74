#pragma once

#include <QPoint>
#include <QRect>
#include <QRegion>
#include <functional>
#include <memory>

#include "core/layout/SkinLayout.h"
#include "skin/SkinImage.h"

class QPainter;
class QWidget;

// A windowless three-picture button inside its owner's client area. The owner paints it and
// forwards every mouse move, left press and left release to it; a click comes back to the owner
// as a posted UM_BUTTONCLICK carrying the id. The owner need not capture the mouse: Qt already
// sends it the moves and the release that follow a press on it, wherever the pointer goes.
class ImageButton {
public:
    ImageButton() = default;
    ImageButton(const ImageButton&) = delete;
    ImageButton& operator=(const ImageButton&) = delete;
    virtual ~ImageButton();

    // Stores the owner, kind, id and rectangle (owner coordinates) and takes the three
    // pictures, any of which may be null, destroying those held before. Keeps hover, pressed
    // and selected; invalidates nothing.
    void SetUp(QWidget* parent, bool latching, int id, const QRect& rect,
               std::unique_ptr<SkinImage> normal, std::unique_ptr<SkinImage> mouseOn,
               std::unique_ptr<SkinImage> mouseDown);

    // Paints the picture of the current state at its own size at the rectangle's top-left.
    void Draw(QPainter& painter) const;

    // The outline its pictures draw inside its rectangle; a plain rectangle unless set.
    void SetOutline(const layout::ButtonOutline& outline) { m_outline = outline; }
    // The button's shape on a device of ratio device pixels per logical pixel, in device pixels
    // from its top-left: the opaque part of the picture it shows where that picture has
    // transparency, else its outline, cut to its rectangle.
    QRegion Shape(qreal ratio) const;

    // Pointer positions in the owner's coordinates; (-1, -1) clears the hover.
    void OnMouseMove(const QPoint& point);
    // True when the press is over the button, as left by the last forwarded move.
    bool OnLButtonDown(const QPoint& point);
    // True when this release was a click (then UM_BUTTONCLICK has been posted).
    bool OnLButtonUp(const QPoint& point);
    // A click without the mouse (a key, a shortcut, assistive technology), made as a release
    // over the button makes one. False, and nothing done, for a selected latching button.
    bool Click();

    // Latch or release a latching button; a plain button ignores both.
    void Select();
    void Deselect();

    const QRect& Rect() const { return m_rect; }
    int Id() const { return m_id; }
    bool Latching() const { return m_latching; }
    bool Selected() const { return m_selected; }
    // Called after every Select and Deselect of a latching button.
    void SetSelectionListener(std::function<void()> listener) {
        m_selectionListener = std::move(listener);
    }

private:
    const SkinImage* CurrentPicture() const;
    void Invalidate() const;

    QWidget* m_parent = nullptr;
    QRect m_rect{0, 0, 0, 0};
    std::unique_ptr<SkinImage> m_normal;
    std::unique_ptr<SkinImage> m_mouseOn;
    std::unique_ptr<SkinImage> m_mouseDown;
    layout::ButtonOutline m_outline{{0, 0, 0, 0}, 0};
    int m_id = 0;
    bool m_hover = false;
    bool m_pressed = false;
    bool m_latching = false;
    bool m_selected = false;
    std::function<void()> m_selectionListener;
};
