#include <QPainter>
#include <QSet>
#include <QTest>
#include <climits>

#include "res/DigitStrip.h"
#include "skin/DigitCounter.h"
#include "skin/EdgeRect.h"
#include "support/qt/TestImages.h"

namespace {

constexpr QRgb kPanelFill = 0xff366ab3;  // RGB(54, 106, 179)

QImage Glyph(int digit) {
    return DigitStrip().copy(kDigitGlyphWidth * digit, 0, kDigitGlyphWidth, kDigitGlyphHeight);
}

QImage Drawn(const DigitCounter& counter) {
    QImage canvas = test::Solid(620, 300, kPanelFill);
    QPainter painter(&canvas);
    counter.Draw(painter);
    return canvas;
}

// The glyphs a counter painted at (left, top), read back from the canvas.
bool ShowsGlyphs(const QImage& canvas, int left, int top, const QList<int>& digits) {
    for (int i = 0; i < digits.size(); ++i) {
        const QImage cell =
            canvas.copy(left + kDigitGlyphWidth * i, top, kDigitGlyphWidth, kDigitGlyphHeight);
        if (cell != Glyph(digits[i])) return false;
    }
    return true;
}

DigitCounter ThreeDigits() {
    DigitCounter counter;
    counter.Init(RectFromEdges(472, 170, 511, 193), 3);
    return counter;
}

// One pixel inside each of the seven segments of a glyph, on the bar's middle line:
// a top, b upper right, c lower right, d bottom, e lower left, f upper left, g middle.
struct SegmentSample {
    char segment;
    QPoint pixel;
};
constexpr SegmentSample kSegmentSamples[] = {
    {'a', {6, 2}},  {'b', {10, 6}}, {'c', {10, 16}}, {'d', {6, 20}},
    {'e', {2, 16}}, {'f', {2, 6}},  {'g', {6, 11}},
};

int LitPixels(const QImage& glyph) {
    int count = 0;
    for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x) count += glyph.pixel(x, y) == kDigitLitColour;
    return count;
}

}  // namespace

class DigitCounterTest : public QObject {
    Q_OBJECT

private slots:
    void StripHoldsTenGlyphsInOnlyThreeColours() {
        const QImage& strip = DigitStrip();
        QCOMPARE(strip.size(), QSize(130, 23));
        QSet<QRgb> colours;
        for (int y = 0; y < strip.height(); ++y)
            for (int x = 0; x < strip.width(); ++x) colours.insert(strip.pixel(x, y));
        QCOMPARE(colours, (QSet<QRgb>{kDigitLitColour, kDigitUnlitColour, kDigitBackColour}));
    }

    void EveryDigitHasItsOwnGlyph() {
        QSet<QByteArray> seen;
        for (int digit = 0; digit < 10; ++digit) {
            const QImage glyph = Glyph(digit);
            seen.insert(
                QByteArray(reinterpret_cast<const char*>(glyph.constBits()), glyph.sizeInBytes()));
        }
        QCOMPARE(seen.size(), 10);
    }

    // Seven segments: 8 lights every segment, 1 the fewest; lit pixels of every digit are lit
    // in 8, and where a digit leaves a segment dark, 8 shows it lit and the digit shows dots.
    void GlyphsAreSevenSegmentDigits() {
        const QImage eight = Glyph(8);
        for (int digit = 0; digit < 10; ++digit) {
            const QImage glyph = Glyph(digit);
            bool hasDots = false;
            for (int y = 0; y < glyph.height(); ++y) {
                for (int x = 0; x < glyph.width(); ++x) {
                    const QRgb pixel = glyph.pixel(x, y);
                    if (pixel == kDigitLitColour) QCOMPARE(eight.pixel(x, y), kDigitLitColour);
                    if (pixel == kDigitUnlitColour) {
                        QCOMPARE(eight.pixel(x, y), kDigitLitColour);
                        hasDots = true;
                    }
                }
            }
            QCOMPARE(hasDots, digit != 8);
            QVERIFY(LitPixels(glyph) >= LitPixels(Glyph(1)));
        }
        QVERIFY(LitPixels(Glyph(1)) < LitPixels(Glyph(7)));
        QVERIFY(LitPixels(Glyph(7)) < LitPixels(Glyph(8)));
    }

    void EachGlyphLightsItsDigitsSegments_data() {
        QTest::addColumn<int>("digit");
        QTest::addColumn<QString>("lit");
        const char* const segments[] = {"abcdef", "bc",     "abdeg", "abcdg",   "bcfg",
                                        "acdfg",  "acdefg", "abc",   "abcdefg", "abcdfg"};
        for (int digit = 0; digit < 10; ++digit)
            QTest::addRow("%d", digit) << digit << QString(segments[digit]);
    }

    void EachGlyphLightsItsDigitsSegments() {
        QFETCH(int, digit);
        QFETCH(QString, lit);
        const QImage glyph = Glyph(digit);
        for (const SegmentSample& sample : kSegmentSamples) {
            const bool shouldLight = lit.contains(QLatin1Char(sample.segment));
            if ((glyph.pixel(sample.pixel) == kDigitLitColour) != shouldLight)
                QFAIL(qPrintable(QString("segment %1 of %2 should be %3")
                                     .arg(sample.segment)
                                     .arg(digit)
                                     .arg(shouldLight ? "lit" : "dark")));
        }
    }

    void ThreeDigitCounterAt472And170PaintsExactly39By23Pixels() {
        DigitCounter counter = ThreeDigits();
        counter.Set(42);
        const QImage canvas = Drawn(counter);
        QVERIFY(test::AllPixelsOutsideAre(canvas, QRect(472, 170, 39, 23), kPanelFill));
        QVERIFY(ShowsGlyphs(canvas, 472, 170, {0, 4, 2}));
    }

    void ZeroShowsAsThreeZeros() {
        const DigitCounter counter = ThreeDigits();
        QCOMPARE(counter.Value(), 0);
        QVERIFY(ShowsGlyphs(Drawn(counter), 472, 170, {0, 0, 0}));
    }

    void RectangleIsKeptForTheOwnerToInvalidate() {
        QCOMPARE(ThreeDigits().Rect(), QRect(472, 170, 39, 23));
    }

    void AddingPastTheCeilingStopsAt999() {
        DigitCounter counter = ThreeDigits();
        counter.Set(998);
        counter.Add(5);
        QCOMPARE(counter.Value(), 999);
        counter.Add(1);
        QCOMPARE(counter.Value(), 999);
        QVERIFY(ShowsGlyphs(Drawn(counter), 472, 170, {9, 9, 9}));
    }

    void SettingPastTheCeilingStores999() {
        DigitCounter counter = ThreeDigits();
        counter.Set(1000);
        QCOMPARE(counter.Value(), 999);
        counter.Set(999);
        QCOMPARE(counter.Value(), 999);
        counter.Set(7);
        QVERIFY(ShowsGlyphs(Drawn(counter), 472, 170, {0, 0, 7}));
    }

    void CeilingFollowsTheDigitCount() {
        DigitCounter counter;
        const int ceilings[] = {9, 99, 999, 9999, 99999};
        for (int digits = 1; digits <= 5; ++digits) {
            QVERIFY(counter.Init(QRect(0, 0, 13 * digits, 23), digits));
            counter.Set(INT_MAX);
            QCOMPARE(counter.Value(), ceilings[digits - 1]);
        }
    }

    void FiveDigitsPaint65PixelsWide() {
        DigitCounter counter;
        counter.Init(QRect(100, 50, 65, 23), 5);
        counter.Set(31415);
        const QImage canvas = Drawn(counter);
        QVERIFY(test::AllPixelsOutsideAre(canvas, QRect(100, 50, 65, 23), kPanelFill));
        QVERIFY(ShowsGlyphs(canvas, 100, 50, {3, 1, 4, 1, 5}));
    }

    void HugeAdditionsClampInsteadOfOverflowing() {
        DigitCounter counter = ThreeDigits();
        counter.Set(500);
        counter.Add(INT_MAX);
        QCOMPARE(counter.Value(), 999);
    }

    // A negative number has no glyph; it must not reach the strip lookup.
    void NegativeNumbersClampToZero() {
        DigitCounter counter = ThreeDigits();
        counter.Set(-5);
        QCOMPARE(counter.Value(), 0);
        counter.Set(3);
        counter.Add(INT_MIN);
        QCOMPARE(counter.Value(), 0);
        QVERIFY(ShowsGlyphs(Drawn(counter), 472, 170, {0, 0, 0}));
    }

    void DigitCountsOutsideOneToFiveAreBroughtIntoRange() {
        DigitCounter counter;
        counter.Init(QRect(0, 0, 13, 23), 9);
        counter.Set(INT_MAX);
        QCOMPARE(counter.Value(), 99999);
        counter.Init(QRect(0, 0, 13, 23), 0);
        counter.Set(INT_MAX);
        QCOMPARE(counter.Value(), 9);
    }
};

QTEST_MAIN(DigitCounterTest)
#include "DigitCounterTest.moc"
