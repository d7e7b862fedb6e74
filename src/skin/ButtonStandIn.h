#pragma once

#include <functional>

#include "skin/ItemStandIn.h"

class ImageButton;

// The stand-in of a picture button. It also takes the keyboard focus in its turn, shows the
// focus ring while it has it, and presses the button on Space or Enter.
class ButtonStandIn : public ItemStandIn {
    Q_OBJECT

public:
    // press: clicks the button the way its owner's buttons are clicked.
    ButtonStandIn(QWidget* owner, const ImageButton& button, QAccessible::Role role,
                  std::function<void()> press);
    ~ButtonStandIn() override;

    const ImageButton& Button() const { return m_button; }
    void Press() { m_press(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    const ImageButton& m_button;
    std::function<void()> m_press;
    // The ring shows for focus the player moved with the keys, not for the focus a window
    // hands its first control when it opens, and it survives leaving the window and coming back.
    bool m_ringShown = false;
};
