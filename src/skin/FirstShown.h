#pragma once

#include <QObject>
#include <functional>

class QWidget;

// Runs action once, as soon as panel has a non-empty size: at once if it has one now, else when
// a resize first gives it one. For work that needs the fonts (measuring text), so that a hidden
// panel's controls exist at once but the fonts load only when some text can be seen. The action
// is dropped if owner goes first.
void OnFirstShown(QWidget* panel, QObject* owner, std::function<void()> action);
