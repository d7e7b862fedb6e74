#pragma once

#include <QWidget>

// A content panel of the main window, filled with the panels' colour.
class ResFrame : public QWidget {
public:
    ResFrame(QWidget* parent, const QRect& rect);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
