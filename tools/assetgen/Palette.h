#pragma once

#include <QColor>

#include "skin/EdgeRect.h"

// The one palette of the default look, built around the panels' fill.
namespace palette {

inline const QColor kPanelFill = ToQColor(layout::kPanelFill);
inline const QColor kPanelLight(104, 152, 222);
inline const QColor kBandTop(22, 48, 94);
inline const QColor kBandBottom(11, 26, 56);
inline const QColor kFrameLine(92, 140, 210);
inline const QColor kIce(242, 246, 252);
inline const QColor kMist(172, 194, 228);
inline const QColor kAmber(244, 176, 58);
inline const QColor kAmberLight(255, 214, 124);
inline const QColor kAmberDeep(206, 132, 26);
inline const QColor kInk(20, 34, 64);
inline const QColor kAlarm(210, 70, 64);

}  // namespace palette
