#include "res/DigitStrip.h"

#include <array>
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

// Glyph geometry: bars 3 pixels thick with pointed ends, so that neighbouring segments meet
// only diagonally, with a dark pixel between them. Columns 0 and 12 and rows 0 and 22 stay
// black and keep neighbouring digits apart.
constexpr int kLeftBar = 2;    // centre column of the left bars
constexpr int kRightBar = 10;  // centre column of the right bars
constexpr int kTopBar = 2;     // centre rows of the three horizontal bars
constexpr int kMiddleBar = 11;
constexpr int kBottomBar = 20;

using Glyph = std::array<std::array<bool, kDigitGlyphWidth>, kDigitGlyphHeight>;

// A horizontal bar centred on row y: 7 pixels long on its centre row, 5 on the rows beside.
void AddHorizontal(Glyph& glyph, int y) {
    for (int x = kLeftBar + 1; x <= kRightBar - 1; ++x) glyph[y][x] = true;
    for (int x = kLeftBar + 2; x <= kRightBar - 2; ++x) glyph[y - 1][x] = glyph[y + 1][x] = true;
}

// A vertical bar centred on column x between the horizontal bars centred on rows top, bottom.
void AddVertical(Glyph& glyph, int x, int top, int bottom) {
    for (int y = top + 2; y <= bottom - 2; ++y) glyph[y][x] = true;
    for (int y = top + 3; y <= bottom - 3; ++y) glyph[y][x - 1] = glyph[y][x + 1] = true;
}

Glyph SegmentPixels(std::uint8_t segments) {
    Glyph glyph{};
    if (segments & A) AddHorizontal(glyph, kTopBar);
    if (segments & G) AddHorizontal(glyph, kMiddleBar);
    if (segments & D) AddHorizontal(glyph, kBottomBar);
    if (segments & F) AddVertical(glyph, kLeftBar, kTopBar, kMiddleBar);
    if (segments & E) AddVertical(glyph, kLeftBar, kMiddleBar, kBottomBar);
    if (segments & B) AddVertical(glyph, kRightBar, kTopBar, kMiddleBar);
    if (segments & C) AddVertical(glyph, kRightBar, kMiddleBar, kBottomBar);
    return glyph;
}

QImage PaintStrip() {
    QImage strip(kDigitStripWidth, kDigitGlyphHeight, QImage::Format_RGB32);
    strip.fill(kDigitBackColour);
    const Glyph all = SegmentPixels(A | B | C | D | E | F | G);
    for (int digit = 0; digit < 10; ++digit) {
        const Glyph lit = SegmentPixels(kDigitSegments[digit]);
        for (int y = 0; y < kDigitGlyphHeight; ++y) {
            for (int x = 0; x < kDigitGlyphWidth; ++x) {
                // Unlit segments show every other pixel, a faint checkerboard of the shape.
                const bool dot = all[y][x] && (x + y) % 2 == 0;
                if (lit[y][x] || dot) {
                    strip.setPixel(digit * kDigitGlyphWidth + x, y,
                                   lit[y][x] ? kDigitLitColour : kDigitUnlitColour);
                }
            }
        }
    }
    return strip;
}

}  // namespace

const QImage& DigitStrip() {
    static const QImage strip = PaintStrip();
    return strip;
}
