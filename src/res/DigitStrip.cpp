#include "res/DigitStrip.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace {

// Segment bits: a top, b upper right, c lower right, d bottom, e lower left, f upper left,
// g middle.
enum Segment : std::uint8_t { A = 1, B = 2, C = 4, D = 8, E = 16, F = 32, G = 64 };

constexpr std::array<std::uint8_t, 10> kDigitSegments = {
    A | B | C | D | E | F,      // 0
    B | C,                      // 1
    A | B | D | E | G,          // 2
    A | B | C | D | G,          // 3
    B | C | F | G,              // 4
    A | C | D | F | G,          // 5
    A | C | D | E | F | G,      // 6
    A | B | C,                  // 7
    A | B | C | D | E | F | G,  // 8
    A | B | C | D | F | G,      // 9
};

// Glyph geometry, in logical pixels: bars 3 pixels thick with pointed ends, so that
// neighbouring segments meet only diagonally, with a dark gap between them. Columns 0 and 12
// and rows 0 and 22 stay black and keep neighbouring digits apart.
constexpr int kLeftBar = 2;    // centre column of the left bars
constexpr int kRightBar = 10;  // centre column of the right bars
constexpr int kTopBar = 2;     // centre rows of the three horizontal bars
constexpr int kMiddleBar = 11;
constexpr int kBottomBar = 20;

// Whether the point (x, y), in logical pixels from the glyph's top-left, lies on a horizontal
// bar centred on row: a hexagon 7 pixels long along its centre, its ends cut at 45 degrees.
bool OnHorizontal(double x, double y, int row) {
    const double off = std::abs(y - (row + 0.5));
    return off < 1.5 && x >= kLeftBar + 1 + off && x <= kRightBar - off;
}

// The same for a vertical bar centred on column between the horizontal bars on rows top and
// bottom.
bool OnVertical(double x, double y, int column, int top, int bottom) {
    const double off = std::abs(x - (column + 0.5));
    return off < 1.5 && y >= top + 2 + off && y <= bottom - 1 - off;
}

bool OnSegment(std::uint8_t segments, double x, double y) {
    return ((segments & A) && OnHorizontal(x, y, kTopBar)) ||
           ((segments & G) && OnHorizontal(x, y, kMiddleBar)) ||
           ((segments & D) && OnHorizontal(x, y, kBottomBar)) ||
           ((segments & F) && OnVertical(x, y, kLeftBar, kTopBar, kMiddleBar)) ||
           ((segments & E) && OnVertical(x, y, kLeftBar, kMiddleBar, kBottomBar)) ||
           ((segments & B) && OnVertical(x, y, kRightBar, kTopBar, kMiddleBar)) ||
           ((segments & C) && OnVertical(x, y, kRightBar, kMiddleBar, kBottomBar));
}

// Each device pixel is lit by the shape at its centre, so a scale of 2 gets the same shapes
// with edges and points a device pixel fine, not doubled pixels.
QImage PaintStrip(int scale) {
    const int glyphWidth = kDigitGlyphWidth * scale;
    QImage strip(kDigitStripWidth * scale, kDigitGlyphHeight * scale, QImage::Format_RGB32);
    strip.fill(kDigitBackColour);
    for (int digit = 0; digit < 10; ++digit) {
        for (int y = 0; y < strip.height(); ++y) {
            for (int x = 0; x < glyphWidth; ++x) {
                const double logicalX = (x + 0.5) / scale;
                const double logicalY = (y + 0.5) / scale;
                const bool lit = OnSegment(kDigitSegments[digit], logicalX, logicalY);
                // Unlit segments show every other pixel, a faint checkerboard of the shape.
                const bool dot = (x + y) % 2 == 0 && OnSegment(0x7F, logicalX, logicalY);
                if (lit || dot) {
                    strip.setPixel(digit * glyphWidth + x, y,
                                   lit ? kDigitLitColour : kDigitUnlitColour);
                }
            }
        }
    }
    return strip;
}

}  // namespace

const QImage& DigitStrip(int scale) {
    if (scale == 2) {
        static const QImage strip2x = PaintStrip(2);
        return strip2x;
    }
    static const QImage strip = PaintStrip(1);
    return strip;
}
