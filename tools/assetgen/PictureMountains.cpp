#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <vector>

#include "PaintKit.h"
#include "Pictures.h"
#include "SeededRandom.h"

// An alpine lake at sunrise: ranges fading into the distance, pines, a cabin, a canoe.
namespace {

constexpr double kShore = 214;

void PaintSky(QPainter& painter) {
    const QRectF sky(0, 0, kPictureWidth, kShore);
    QLinearGradient fall(sky.topLeft(), sky.bottomLeft());
    fall.setColorAt(0.0, QColor(46, 70, 160));
    fall.setColorAt(0.35, QColor(140, 110, 190));
    fall.setColorAt(0.6, QColor(240, 140, 150));
    fall.setColorAt(0.85, QColor(255, 206, 150));
    painter.fillRect(sky, fall);
    QLinearGradient side(sky.topLeft(), sky.topRight());
    side.setColorAt(0.0, QColor(20, 40, 120, 90));
    side.setColorAt(0.55, QColor(20, 40, 120, 0));
    painter.fillRect(sky, side);
    PaintGlow(painter, QPointF(262, 128), 130, QColor(255, 230, 170, 180));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 244, 200));
    painter.drawEllipse(QPointF(262, 128), 20, 20);

    // The last stars of the night, high up.
    SeededRandom stars(11);
    for (int i = 0; i < 50; ++i) {
        const double y = std::pow(stars.Uniform(0, 1), 1.5) * 60;
        painter.setBrush(QColor(255, 250, 240, static_cast<int>(220 * (1 - y / 70))));
        painter.drawEllipse(QPointF(stars.Uniform(0, kPictureWidth), y), 0.9, 0.9);
    }
    for (const QPointF& at :
         {QPointF(30, 14), QPointF(176, 8), QPointF(236, 40), QPointF(384, 34), QPointF(110, 62)}) {
        PaintTwinkle(painter, at, 4.5, QColor(255, 250, 236));
    }

    QPainterPath moon;
    moon.addEllipse(QPointF(214, 26), 8, 8);
    QPainterPath shadow;
    shadow.addEllipse(QPointF(218, 22), 7, 7);
    painter.setBrush(QColor(255, 250, 236, 220));
    painter.drawPath(moon.subtracted(shadow));

    const QPointF streaks[] = {{80, 40}, {300, 30}, {190, 70}, {360, 84},
                               {40, 96}, {140, 20}, {370, 12}};
    for (const QPointF& at : streaks) {
        painter.setBrush(QColor(255, 170, 180, 110));
        painter.drawEllipse(at, 46, 4);
        painter.setBrush(QColor(255, 220, 200, 120));
        painter.drawEllipse(at + QPointF(8, 2), 26, 1.8);
    }
}

struct Range {
    QPainterPath shape;
    std::vector<QPointF> peaks;
    std::vector<QPointF> valleys;
};

// Alternating peaks and saddles, each slope broken up by a few rounds of
// midpoint displacement.
Range MakeRange(SeededRandom& random, double baseY, double height, int peaks) {
    Range range;
    std::vector<QPointF> crest{{-10, baseY - height * random.Uniform(0.1, 0.4)}};
    range.valleys.push_back(crest.back());
    const double step = (kPictureWidth + 20.0) / peaks;
    for (int i = 0; i < peaks; ++i) {
        const double x = -10 + step * i;
        range.peaks.push_back(
            {x + step * random.Uniform(0.35, 0.65), baseY - height * random.Uniform(0.55, 1.0)});
        range.valleys.push_back({x + step, baseY - height * random.Uniform(0.05, 0.35)});
        crest.push_back(range.peaks.back());
        crest.push_back(range.valleys.back());
    }
    for (int round = 0; round < 3; ++round) {
        std::vector<QPointF> finer;
        for (std::size_t i = 0; i + 1 < crest.size(); ++i) {
            const QPointF a = crest[i];
            const QPointF b = crest[i + 1];
            finer.push_back(a);
            finer.push_back((a + b) / 2 +
                            QPointF(0, random.Uniform(-1, 1) * std::abs(b.x() - a.x()) * 0.16));
        }
        finer.push_back(crest.back());
        crest = finer;
    }
    range.shape.moveTo(-10, kShore + 2);
    for (const QPointF& point : crest) range.shape.lineTo(point);
    range.shape.lineTo(kPictureWidth + 10, kShore + 2);
    range.shape.closeSubpath();
    return range;
}

void PaintRange(QPainter& painter, SeededRandom& random, const Range& range, const QColor& top,
                const QColor& foot, double snowLine) {
    const QRectF box = range.shape.boundingRect();
    QLinearGradient fill(QPointF(0, box.top()), QPointF(0, kShore));
    fill.setColorAt(0.0, top);
    fill.setColorAt(1.0, foot);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(range.shape);

    painter.save();
    painter.setClipPath(range.shape);
    // The face of each peak turned from the sun lies in shadow.
    painter.setBrush(QColor(30, 20, 70, 60));
    for (std::size_t i = 0; i < range.peaks.size(); ++i) {
        const QPointF peak = range.peaks[i];
        const QPointF saddle = range.valleys[i + 1];
        QPainterPath face;
        face.moveTo(peak);
        face.lineTo(saddle);
        face.lineTo(saddle.x(), kShore + 2);
        face.lineTo(peak.x() + (saddle.x() - peak.x()) * 0.25, kShore + 2);
        face.closeSubpath();
        painter.drawPath(face);
    }
    // Warm where the sunrise reaches, cool towards the far side.
    QLinearGradient tint(QPointF(0, 0), QPointF(kPictureWidth, 0));
    tint.setColorAt(0.0, QColor(255, 150, 130, 100));
    tint.setColorAt(0.5, QColor(255, 170, 140, 0));
    tint.setColorAt(1.0, QColor(30, 40, 130, 100));
    painter.fillRect(box, tint);
    if (snowLine > 0) {
        QPainterPath cap;
        cap.moveTo(-10, -10);
        for (double x = -10; x <= kPictureWidth + 10; x += 7) {
            cap.lineTo(x, snowLine + random.Uniform(-7, 7));
        }
        cap.lineTo(kPictureWidth + 10, -10);
        cap.closeSubpath();
        QLinearGradient snow(QPointF(0, box.top()), QPointF(0, snowLine));
        snow.setColorAt(0.0, QColor(255, 248, 250));
        snow.setColorAt(1.0, QColor(246, 214, 226));
        painter.setBrush(snow);
        painter.drawPath(cap);
        painter.setBrush(QColor(120, 110, 190, 70));
        for (std::size_t i = 0; i < range.peaks.size(); ++i) {
            QPainterPath shade;
            shade.moveTo(range.peaks[i]);
            shade.lineTo(range.valleys[i + 1]);
            shade.lineTo(range.peaks[i].x() + 4, snowLine + 10);
            shade.closeSubpath();
            painter.drawPath(shade.intersected(cap));
        }
    }
    painter.restore();
}

void PaintPine(QPainter& painter, QPointF foot, double height, const QColor& color) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(70, 46, 36));
    painter.drawRect(
        QRectF(foot.x() - height * 0.04, foot.y() - height * 0.15, height * 0.08, height * 0.15));
    for (int tier = 0; tier < 3; ++tier) {
        const double bottom = foot.y() - height * (0.12 + tier * 0.25);
        const double half = height * (0.28 - tier * 0.07);
        QPainterPath layer;
        layer.moveTo(foot.x() - half, bottom);
        layer.lineTo(foot.x(), bottom - height * 0.42);
        layer.lineTo(foot.x() + half, bottom);
        layer.closeSubpath();
        painter.setBrush(tier == 2 ? color.lighter(118) : color);
        painter.drawPath(layer);
    }
}

void PaintLake(QPainter& painter, const QImage& land, SeededRandom& random) {
    const QRectF lake(0, kShore, kPictureWidth, kPictureHeight - kShore);
    QLinearGradient depth(lake.topLeft(), lake.bottomLeft());
    depth.setColorAt(0.0, QColor(120, 110, 170));
    depth.setColorAt(1.0, QColor(30, 60, 110));
    painter.fillRect(lake, depth);
    painter.setOpacity(0.6);
    for (double y = 0; y < lake.height(); y += 2) {
        const double shift = random.Uniform(-1.5, 1.5) * (1 + y / 40);
        painter.drawImage(QRectF(shift, kShore + y, kPictureWidth, 2), land,
                          QRectF(0, kShore - y - 2, kPictureWidth, 2));
    }
    painter.setOpacity(1.0);
    painter.setPen(QPen(QColor(255, 230, 220, 120), 1.0));
    for (int i = 0; i < 60; ++i) {
        const double y = random.Uniform(kShore + 4, kPictureHeight);
        const double x = random.Uniform(0, kPictureWidth);
        const double length = 6 + (y - kShore) * 0.3;
        painter.drawLine(QPointF(x, y), QPointF(x + length, y));
    }
}

void PaintCabin(QPainter& painter, QPointF foot) {
    painter.save();
    painter.translate(foot);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(140, 80, 46));
    painter.drawRect(QRectF(-16, -16, 32, 16));
    QPainterPath roof;
    roof.moveTo(-20, -15);
    roof.lineTo(0, -30);
    roof.lineTo(20, -15);
    roof.closeSubpath();
    painter.setBrush(QColor(80, 50, 44));
    painter.drawPath(roof);
    painter.setBrush(QColor(90, 70, 70));
    painter.drawRect(QRectF(8, -32, 5, 10));
    PaintGlow(painter, QPointF(-6, -8), 12, QColor(255, 210, 120, 140));
    painter.setBrush(QColor(255, 220, 130));
    painter.drawRect(QRectF(-10, -11, 7, 6));
    painter.setBrush(QColor(60, 40, 30));
    painter.drawRect(QRectF(3, -11, 6, 11));
    painter.setBrush(QColor(200, 200, 210, 120));
    painter.drawEllipse(QPointF(12, -38), 3, 2);
    painter.drawEllipse(QPointF(15, -44), 4, 2.5);
    painter.restore();
}

}  // namespace

QImage PaintMountains() {
    QImage image = Canvas(kPictureWidth, kPictureHeight);
    QPainter painter(&image);
    Smooth(painter);
    SeededRandom random(0x4D544E53ull);

    PaintSky(painter);
    PaintRange(painter, random, MakeRange(random, 150, 112, 5), QColor(206, 160, 206),
               QColor(190, 140, 180), 84);
    PaintRange(painter, random, MakeRange(random, 178, 86, 6), QColor(120, 118, 196),
               QColor(110, 124, 176), 116);
    const Range near = MakeRange(random, 198, 52, 8);
    PaintRange(painter, random, near, QColor(64, 110, 156), QColor(56, 112, 124), 0);
    // Woods climbing the near slopes.
    for (int i = 0; i < 70; ++i) {
        const QPointF foot(random.Uniform(0, kPictureWidth), random.Uniform(160, 212));
        const double height = random.Uniform(7, 12);
        if (!near.shape.contains(foot - QPointF(0, height))) continue;
        PaintPine(painter, foot, height, Hsv(random.Uniform(140, 175), 0.5, 0.42));
    }
    // A waterfall down the near range, and an eagle over it.
    QLinearGradient fall(QPointF(0, 156), QPointF(0, 208));
    fall.setColorAt(0.0, QColor(230, 240, 255, 120));
    fall.setColorAt(1.0, QColor(245, 250, 255, 230));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fall);
    QPainterPath water;
    water.moveTo(183, 156);
    water.lineTo(188, 156);
    water.quadTo(190, 180, 194, 208);
    water.lineTo(180, 208);
    water.quadTo(183, 180, 183, 156);
    painter.drawPath(water);
    PaintGlow(painter, QPointF(187, 206), 12, QColor(255, 255, 255, 150));
    painter.setPen(QPen(QColor(40, 30, 40), 1.8, Qt::SolidLine, Qt::RoundCap));
    QPainterPath eagle;
    eagle.moveTo(212, 158);
    eagle.quadTo(220, 150, 226, 157);
    eagle.quadTo(232, 150, 240, 158);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(eagle);
    painter.setPen(QPen(QColor(50, 40, 80), 1.2, Qt::SolidLine, Qt::RoundCap));
    for (const QPointF& bird :
         {QPointF(22, 66), QPointF(34, 60), QPointF(47, 68), QPointF(60, 58), QPointF(74, 64)}) {
        painter.drawLine(bird + QPointF(-4, -2), bird);
        painter.drawLine(bird, bird + QPointF(4, -2));
    }
    {
        SeededRandom shape(3);
        QLinearGradient hills(QPointF(0, 190), QPointF(0, kShore));
        hills.setColorAt(0.0, QColor(60, 120, 90));
        hills.setColorAt(1.0, QColor(40, 90, 70));
        painter.setPen(Qt::NoPen);
        painter.setBrush(hills);
        painter.drawPath(Ridge(shape, kPictureWidth, 204, 6, 7, kShore + 2));
    }
    for (double x = 4; x < kPictureWidth; x += random.Uniform(7, 14)) {
        PaintPine(painter, QPointF(x, kShore + 1), random.Uniform(12, 22),
                  Hsv(random.Uniform(130, 160), 0.55, 0.35));
    }
    PaintCabin(painter, QPointF(330, kShore + 1));
    painter.end();
    const QImage land = image.copy();
    painter.begin(&image);
    Smooth(painter);
    PaintLake(painter, land, random);

    // The hidden sun glitters on the water below it.
    painter.setPen(Qt::NoPen);
    for (double y = kShore + 3; y < 262; y += random.Uniform(2.2, 3.4)) {
        const double width = random.Uniform(6, 22) * (1 + (y - kShore) / 40);
        const double x = 262 + random.Uniform(-8, 8);
        painter.setBrush(QColor(255, 226, 170, static_cast<int>(220 - (y - kShore) * 3.5)));
        painter.drawRoundedRect(QRectF(x - width / 2, y, width, 1.5), 0.7, 0.7);
    }

    // A rocky islet with two pines, and lily pads.
    painter.setBrush(QColor(90, 90, 100));
    painter.drawEllipse(QPointF(82, 236), 20, 6);
    painter.setBrush(QColor(60, 100, 60));
    painter.drawEllipse(QPointF(80, 233), 16, 4);
    PaintPine(painter, QPointF(76, 234), 26, QColor(30, 84, 52));
    PaintPine(painter, QPointF(90, 235), 18, QColor(40, 100, 58));
    painter.setPen(Qt::NoPen);
    for (const QPointF& pad :
         {QPointF(128, 228), QPointF(141, 236), QPointF(122, 242), QPointF(136, 248)}) {
        painter.setBrush(QColor(70, 150, 80));
        painter.drawPie(QRectF(pad.x() - 6, pad.y() - 2.5, 12, 5), 30 * 16, 300 * 16);
    }
    PaintFlower(painter, QPointF(141, 234), 3, QColor(250, 170, 200), QColor(250, 220, 80));

    // A jetty out from the cabin, and two swans.
    painter.setBrush(QColor(120, 80, 50));
    QPainterPath jetty;
    jetty.moveTo(318, 216);
    jetty.lineTo(330, 216);
    jetty.lineTo(304, 246);
    jetty.lineTo(284, 246);
    jetty.closeSubpath();
    painter.drawPath(jetty);
    painter.setBrush(QColor(80, 50, 34));
    for (double t = 0.2; t < 1; t += 0.3) {
        painter.drawRect(QRectF(318 - 34 * t, 216 + 30 * t, 2, 8));
    }
    for (const QPointF& swan : {QPointF(222, 230), QPointF(236, 236)}) {
        painter.setBrush(QColor(250, 250, 252));
        painter.drawEllipse(swan, 6, 3);
        painter.setPen(QPen(QColor(250, 250, 252), 1.6, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(swan + QPointF(4, -1), swan + QPointF(5, -8));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(250, 140, 40));
        painter.drawEllipse(swan + QPointF(6.5, -8), 1.6, 1);
    }

    // The canoe on the water, and the near shore with its own pines.
    QPainterPath canoe;
    canoe.moveTo(150, 246);
    canoe.quadTo(176, 254, 204, 244);
    canoe.quadTo(176, 250, 150, 246);
    painter.setPen(QPen(QColor(220, 60, 50), 4.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(canoe);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(250, 220, 80));
    painter.drawEllipse(QPointF(172, 242), 3, 4);
    painter.setBrush(QColor(40, 40, 60));
    painter.drawEllipse(QPointF(172, 236), 2.5, 2.5);

    QPainterPath shore;
    shore.moveTo(-5, 305);
    shore.lineTo(-5, 268);
    shore.cubicTo(60, 270, 100, 290, 150, 300);
    shore.lineTo(150, 305);
    shore.closeSubpath();
    painter.setBrush(QColor(50, 80, 50));
    painter.drawPath(shore);
    QPainterPath point;
    point.moveTo(405, 305);
    point.lineTo(405, 256);
    point.cubicTo(360, 262, 320, 286, 280, 305);
    point.closeSubpath();
    painter.setBrush(QColor(56, 90, 56));
    painter.drawPath(point);
    painter.setBrush(QColor(140, 140, 150));
    painter.drawEllipse(QPointF(40, 284), 18, 10);
    painter.setBrush(QColor(170, 170, 180));
    painter.drawEllipse(QPointF(36, 280), 10, 5);
    const QColor flowers[] = {{250, 220, 80}, {240, 120, 160}, {250, 250, 250}, {180, 120, 240}};
    for (int i = 0; i < 40; ++i) {
        const bool right = i % 2 == 0;
        const QPointF at(right ? random.Uniform(320, 400) : random.Uniform(0, 120),
                         random.Uniform(282, 300));
        PaintFlower(painter, at, random.Uniform(1.5, 3), flowers[i % 4], QColor(250, 200, 60));
    }
    PaintPine(painter, QPointF(18, 276), 70, QColor(30, 80, 50));
    PaintPine(painter, QPointF(82, 292), 52, QColor(36, 96, 54));
    PaintPine(painter, QPointF(380, 262), 80, QColor(28, 76, 48));
    PaintPine(painter, QPointF(344, 284), 54, QColor(40, 100, 56));
    return image;
}
