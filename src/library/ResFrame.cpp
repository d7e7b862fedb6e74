#include "library/ResFrame.h"

#include <QPainter>

#include "app/Layout.h"

ResFrame::ResFrame(QWidget* parent, const QRect& rect) : QWidget(parent) {
    setObjectName("ResFrame");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(rect);
}

void ResFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kPanelFill);
}

// Accepted here: a press on a panel must not move the main window.
void ResFrame::mousePressEvent(QMouseEvent*) {}
