#include "info/AboutFrame.h"

#include <QPainter>

#include "app/Layout.h"

AboutFrame::AboutFrame(QWidget* parent, const QRect& rect) : QWidget(parent) {
    setObjectName("AboutFrame");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(rect);
}

void AboutFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kPanelFill);
}

// Accepted here: a press on a panel must not move the main window.
void AboutFrame::mousePressEvent(QMouseEvent*) {}
