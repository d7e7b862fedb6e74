#include "skin/DigitCounter.h"

#include <QPainter>
#include <algorithm>
#include <cstdint>

#include "res/DigitStrip.h"

namespace {

constexpr int kMinDigits = 1;
constexpr int kMaxDigits = 5;

int Clamp(std::int64_t v, int maximum) {
    return static_cast<int>(std::clamp<std::int64_t>(v, 0, maximum));
}

}  // namespace

DigitCounter::DigitCounter() = default;

DigitCounter::~DigitCounter() = default;

bool DigitCounter::Init(const QRect& rect, int digits) {
    m_rect = rect;
    m_digits = std::clamp(digits, kMinDigits, kMaxDigits);
    m_maximum = 9;
    for (int i = 1; i < m_digits; ++i) m_maximum = m_maximum * 10 + 9;
    return true;
}

void DigitCounter::Set(int v) { m_value = Clamp(v, m_maximum); }

// 64-bit sum: a large step count must clamp, not wrap.
void DigitCounter::Add(int d) { m_value = Clamp(std::int64_t{m_value} + d, m_maximum); }

void DigitCounter::Draw(QPainter& painter) const {
    // Above one device pixel per logical pixel the glyphs come from the strip painted at 2:
    // copied pixel for pixel at 2, smoothly shrunk at any ratio between.
    const qreal ratio = painter.device()->devicePixelRatioF();
    const int scale = ratio > 1 ? 2 : 1;
    const QImage& strip = DigitStrip(scale);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, ratio > 1 && ratio != 2);
    // Digits from the right; the value never exceeds the maximum, so every place is 0..9.
    int rest = m_value;
    for (int place = m_digits - 1; place >= 0; --place) {
        const int digit = rest % 10;
        rest /= 10;
        painter.drawImage(QRect(m_rect.left() + kDigitGlyphWidth * place, m_rect.top(),
                                kDigitGlyphWidth, kDigitGlyphHeight),
                          strip,
                          QRect(kDigitGlyphWidth * digit * scale, 0, kDigitGlyphWidth * scale,
                                kDigitGlyphHeight * scale));
    }
    painter.restore();
}
