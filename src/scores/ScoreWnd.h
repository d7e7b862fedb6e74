#pragma once

#include <QWidget>

// A content panel of the main window, filled with the panels' colour.
class ScoreWnd : public QWidget {
public:
    ScoreWnd(QWidget* parent, const QRect& rect);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
