#pragma once

#include <QRect>

class QPainter;

// A non-negative number shown as a fixed row of 1 to 5 seven-segment glyphs from the digit
// strip, clamped to what the glyphs can show (9, 99, ..., 99999).
class DigitCounter {
public:
    DigitCounter();
    virtual ~DigitCounter();

    // rect: where the counter stands in its window (left and top place the glyphs; the owner
    // invalidates the whole rect after a change). digits outside 1..5 are brought into it.
    bool Init(const QRect& rect, int digits);

    // value = v, clamped into 0..maximum.
    void Set(int v);
    // value += d, clamped into 0..maximum.
    void Add(int d);

    const QRect& Rect() const { return m_rect; }
    int Value() const { return m_value; }

    // Paints the value zero-padded to the digit count: 13 * digits by 23 pixels from the
    // rectangle's top-left, glyph backgrounds included.
    void Draw(QPainter& painter) const;

private:
    QRect m_rect;
    int m_digits = 1;
    int m_value = 0;
    int m_maximum = 9;
};
