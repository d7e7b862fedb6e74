#pragma once

#include <QColor>
#include <QImage>

// The digit strip bitmap: the ten seven-segment digits 0 to 9 side by side, glyph d starting
// at x = kDigitGlyphWidth * d. Only three colours occur: lit segments, the dotted unlit
// segments, and black.
inline constexpr int kDigitGlyphWidth = 13;
inline constexpr int kDigitGlyphHeight = 23;
inline constexpr int kDigitStripWidth = 10 * kDigitGlyphWidth;  // 130

inline constexpr QRgb kDigitLitColour = 0xffff0000;    // RGB(255, 0, 0)
inline constexpr QRgb kDigitUnlitColour = 0xff800000;  // RGB(128, 0, 0)
inline constexpr QRgb kDigitBackColour = 0xff000000;   // black

// The strip, 130 x 23, Format_RGB32, at scale 1; at scale 2 the same glyphs painted at twice
// the width and height, 260 x 46. Each is painted on first use and shared afterwards.
const QImage& DigitStrip(int scale = 1);
