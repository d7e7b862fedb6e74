#pragma once

class QWidget;

// Whether a widget can be seen: it and every widget up to its window have an area. The main
// window hides a panel by shrinking it to nothing, so its controls stay visible to Qt.
bool IsShown(const QWidget* widget);

// The control that Tab (forward) or Shift+Tab (backward) gives the focus to after `from`
// (which may be null or hidden): the shown controls of `window` that take the focus by Tab,
// in reading order (by their top-left corners, top to bottom, then left to right), wrapping
// at either end. A control's own parts (a list's scroll bars) are not counted apart from it.
// Null when the window shows no such control.
QWidget* NextInReadingOrder(QWidget* window, const QWidget* from, bool forward);
