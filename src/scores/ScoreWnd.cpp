#include "scores/ScoreWnd.h"

#include <QPainter>

#include "app/Layout.h"

ScoreWnd::ScoreWnd(QWidget* parent, const QRect& rect) : QWidget(parent) {
    setObjectName("ScoreWnd");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(rect);
}

void ScoreWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kPanelFill);
}

// Accepted here: a press on a panel must not move the main window.
void ScoreWnd::mousePressEvent(QMouseEvent*) {}
