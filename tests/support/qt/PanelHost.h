#pragma once

#include <QWidget>

namespace test {

// Stands in for the main window: records presses that reach it, which would drag the window.
class PanelHost : public QWidget {
public:
    PanelHost() { setFixedSize(620, 300); }
    int pressesReceived = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++pressesReceived; }
};

}  // namespace test
