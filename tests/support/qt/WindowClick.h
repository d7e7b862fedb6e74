#pragma once

#include <QCoreApplication>
#include <QTest>
#include <QWidget>

namespace test {

// From a bare spot of the surface onto the point: a button takes a press only while it has
// the pointer, and the pointer may still stand there from the window before.
inline void ClickAt(QWidget& window, const QPoint& point) {
    QTest::mouseMove(&window, QPoint(300, 40));
    QTest::mouseMove(&window, point);
    QTest::mouseClick(&window, Qt::LeftButton, {}, point);
    QCoreApplication::processEvents();  // the posted click
}

}  // namespace test
