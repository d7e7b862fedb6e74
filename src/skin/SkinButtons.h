#pragma once

#include <QPoint>
#include <memory>
#include <vector>

#include "core/layout/SkinLayout.h"
#include "skin/ImageButton.h"

class QPainter;
class QWidget;

// The picture buttons of one window, owned here. Every mouse event goes to every button, in
// the order they were added, so leaving one button and entering the next happen together.
class SkinButtons {
public:
    explicit SkinButtons(QWidget* owner) : m_owner(owner) {}

    // Adds a button set up from its layout with its pictures from the skin package.
    ImageButton& Add(int id, const layout::ButtonLayout& layout, bool latching = false);
    // Sets a button up again: new pictures, hover, pressed and selected kept.
    void SetUp(ImageButton& button, int id, const layout::ButtonLayout& layout,
               bool latching = false) const;

    void Draw(QPainter& painter) const;
    bool Empty() const { return m_buttons.empty(); }

    void OnMouseMove(const QPoint& point);
    // True when the press is over one of the buttons.
    bool OnLButtonDown(const QPoint& point);
    // The button this release clicked, or null.
    ImageButton* OnLButtonUp(const QPoint& point);

private:
    QWidget* m_owner;
    std::vector<std::unique_ptr<ImageButton>> m_buttons;
};
