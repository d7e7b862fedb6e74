#pragma once

#include <QPoint>
#include <QPointer>
#include <memory>
#include <vector>

#include "core/layout/SkinLayout.h"
#include "skin/ImageButton.h"

class ButtonStandIn;
class QPainter;
class QWidget;

// The picture buttons of one window, owned here. Every mouse event goes to every button, in
// the order they were added, so leaving one button and entering the next happen together.
// The latching buttons of one window form a group: clicking one releases the others. Each
// button has a stand-in widget over it for the keyboard and assistive technology, named by
// the button's label.
class SkinButtons {
public:
    // A link is a plain button that assistive technology announces as a link.
    enum class Kind { Plain, Latching, Link };

    explicit SkinButtons(QWidget* owner) : m_owner(owner) {}
    SkinButtons(const SkinButtons&) = delete;
    SkinButtons& operator=(const SkinButtons&) = delete;
    ~SkinButtons();

    // Adds a button set up from its layout with its pictures from the skin package.
    ImageButton& Add(int id, const layout::ButtonLayout& layout, Kind kind = Kind::Plain);
    // Sets a button up again: new pictures, hover, pressed and selected kept.
    void SetUp(ImageButton& button, int id, const layout::ButtonLayout& layout) const;

    void Draw(QPainter& painter) const;
    bool Empty() const { return m_buttons.empty(); }

    void OnMouseMove(const QPoint& point);
    // True when the press is over one of the buttons.
    bool OnLButtonDown(const QPoint& point);
    // The button this release clicked, or null.
    ImageButton* OnLButtonUp(const QPoint& point);

    // Clicks the button with that id without the mouse, as a release over it would; false
    // when there is no such button or it is a selected latching one.
    bool Click(int id);

private:
    struct Entry {
        std::unique_ptr<ImageButton> button;
        QPointer<ButtonStandIn> standIn;
    };

    bool Click(ImageButton& button);
    void ReleaseOthers(const ImageButton& clicked);

    QWidget* m_owner;
    std::vector<Entry> m_buttons;
};
