#include "skin/ButtonStandIn.h"

#include <QKeyEvent>
#include <QPainter>

#include "skin/FocusRing.h"
#include "skin/ImageButton.h"

ButtonStandIn::ButtonStandIn(QWidget* owner, const ImageButton& button, QAccessible::Role role,
                             std::function<void()> press)
    : ItemStandIn(owner, role, button.Rect(), true), m_button(button), m_press(std::move(press)) {
    // Tab only: a click goes to the owner and must not move the focus.
    setFocusPolicy(Qt::TabFocus);
}

ButtonStandIn::~ButtonStandIn() = default;

void ButtonStandIn::paintEvent(QPaintEvent*) {
    if (!hasFocus() || !m_ringShown) return;
    QPainter painter(this);
    DrawFocusRing(painter, m_button.Shape(painter.device()->devicePixelRatioF()));
}

void ButtonStandIn::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
                // A key held down presses once, as a mouse button held down clicks once.
                if (!event->isAutoRepeat()) Press();
                return;
            }
            break;
        default:
            break;
    }
    event->ignore();  // arrows and the rest go on to the owner
}

void ButtonStandIn::focusInEvent(QFocusEvent* event) {
    switch (event->reason()) {
        case Qt::ActiveWindowFocusReason:
        case Qt::PopupFocusReason:
            break;
        case Qt::MouseFocusReason:
            m_ringShown = false;
            break;
        default:
            m_ringShown = true;
            break;
    }
    update();
}

void ButtonStandIn::focusOutEvent(QFocusEvent*) { update(); }
