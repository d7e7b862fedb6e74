#include "skin/SkinnedPanel.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "skin/EdgeRect.h"

SkinnedPanel::SkinnedPanel(QWidget* parent, const char* name) : MessageReceiver<QWidget>(parent) {
    setObjectName(name);
    // Every paint covers the whole panel: nothing is erased first, so nothing flickers.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

SkinnedPanel::~SkinnedPanel() = default;

void SkinnedPanel::Place(const QRect& rect) {
    setGeometry(rect);
    Resize(rect.size());
}

void SkinnedPanel::OnSize(const QSize&) {}

void SkinnedPanel::ShowAsFirstChildren(std::initializer_list<QWidget*> controls) {
    QWidget* first = nullptr;
    for (QObject* child : children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr &&
            std::find(controls.begin(), controls.end(), widget) == controls.end()) {
            first = widget;
            break;
        }
    }
    for (QWidget* control : controls) {
        if (first != nullptr) control->stackUnder(first);
        control->show();
    }
}

void SkinnedPanel::Paint(QPainter& painter) { DrawButtons(painter); }

void SkinnedPanel::resizeEvent(QResizeEvent*) { Resize(size()); }

void SkinnedPanel::Resize(const QSize& size) {
    // Qt repeats the size it was given before the panel was first shown.
    if (size == m_panelSize) return;
    m_panelSize = size;
    m_panelRect = QRect(QPoint(0, 0), size);
    if (!m_childrenCreated) {
        m_childrenCreated = true;
        CreateChildren();
    }
    OnSize(size);
}

void SkinnedPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(m_panelRect, ToQColor(layout::kPanelFill));
    Paint(painter);
}

void SkinnedPanel::mouseMoveEvent(QMouseEvent* event) {
    // A panel without buttons leaves the moves to the main window, as a plain child does.
    if (m_buttons.Empty()) {
        event->ignore();
        return;
    }
    m_buttons.OnMouseMove(event->position().toPoint());
}

void SkinnedPanel::mousePressEvent(QMouseEvent* event) {
    // Accepted, never passed on: a press on a panel must not move the main window.
    if (event->button() == Qt::LeftButton) m_buttons.OnLButtonDown(event->position().toPoint());
}

void SkinnedPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_buttons.OnLButtonUp(event->position().toPoint());
}
