#pragma once

#include <QColor>
#include <QRect>

// The solid background of the game, picture library, score and about panels.
inline const QColor kPanelFill(54, 106, 179);

// The main window's content area, in which exactly one panel is shown.
inline const QRect kContentRect(7, 63, 620, 300);
