#pragma once

#include <QCursor>
#include <QImage>

// The pointing hand shown over the board: 32 by 32, white with a dark outline,
// the tip of the index finger at the hot spot.
inline constexpr int kHandHotSpotX = 6;
inline constexpr int kHandHotSpotY = 1;

QImage PaintHandCursor();
QCursor HandCursor();
