#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "PaintKit.h"
#include "Pictures.h"
#include "SeededRandom.h"

// A fishing town at sunset: houses up a hill, a lighthouse, sailing boats, a pier.
namespace {

constexpr double kHorizon = 172;
const QPointF kSun(300, 142);

double HillTop(double x) { return 100 + 72 * std::pow(std::clamp(x / 215, 0.0, 1.0), 1.5); }

void PaintSky(QPainter& painter) {
    const QRectF sky(0, 0, kPictureWidth, kHorizon + 1);
    QLinearGradient fall(sky.topLeft(), sky.bottomLeft());
    fall.setColorAt(0.0, QColor(34, 38, 104));
    fall.setColorAt(0.35, QColor(112, 64, 146));
    fall.setColorAt(0.72, QColor(236, 112, 112));
    fall.setColorAt(1.0, QColor(255, 186, 118));
    painter.fillRect(sky, fall);
    QLinearGradient dusk(sky.topLeft(), sky.topRight());
    dusk.setColorAt(0.0, QColor(16, 24, 80, 120));
    dusk.setColorAt(0.65, QColor(16, 24, 80, 0));
    painter.fillRect(sky, dusk);

    PaintGlow(painter, kSun, 200, QColor(255, 214, 150, 160));
    PaintGlow(painter, kSun, 48, QColor(255, 240, 200, 210));
    QRadialGradient disc(kSun - QPointF(6, 6), 30);
    disc.setColorAt(0.0, QColor(255, 250, 222));
    disc.setColorAt(1.0, QColor(255, 206, 128));
    painter.setPen(Qt::NoPen);
    painter.setBrush(disc);
    painter.drawEllipse(kSun, 22, 22);
}

void PaintStreakClouds(QPainter& painter, SeededRandom& random) {
    const QPointF clouds[] = {{60, 34},  {196, 20}, {322, 56}, {128, 86},  {250, 100},
                              {36, 124}, {372, 18}, {186, 58}, {110, 140}, {356, 104}};
    const double widths[] = {130, 90, 140, 110, 80, 90, 70, 70, 60, 60};
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 10; ++i) {
        const QPointF at = clouds[i];
        const double t = at.y() / kHorizon;
        const QColor body = Mix(QColor(150, 96, 168, 190), QColor(255, 164, 140, 200), t * 1.3);
        const QColor rim = Mix(QColor(236, 150, 190, 170), QColor(255, 226, 180, 200), t);
        for (int k = 0; k < 5; ++k) {
            const QPointF centre(at.x() + random.Uniform(-widths[i] / 3, widths[i] / 3),
                                 at.y() + random.Uniform(-3, 3));
            const double rx = widths[i] * random.Uniform(0.18, 0.36);
            const double ry = random.Uniform(3, 6);
            painter.setBrush(body);
            painter.drawEllipse(centre, rx, ry);
            painter.setBrush(rim);
            painter.drawEllipse(centre + QPointF(rx * 0.1, ry * 0.6), rx * 0.8, ry * 0.35);
        }
    }
}

// The first stars, in the dark top of the sky.
void PaintEveningStars(QPainter& painter, SeededRandom& random) {
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 60; ++i) {
        const double y = std::pow(random.Uniform(0, 1), 1.8) * 70;
        const double radius = random.Uniform(0.5, 1.2);
        painter.setBrush(QColor(255, 244, 226, static_cast<int>(230 * (1 - y / 80))));
        painter.drawEllipse(QPointF(random.Uniform(0, kPictureWidth), y), radius, radius);
    }
    const QPointF bright[] = {{22, 12}, {150, 10}, {266, 34}, {304, 12}, {356, 40}, {232, 60}};
    for (const QPointF& at : bright) PaintTwinkle(painter, at, 5, QColor(255, 248, 230));

    QPainterPath moon;
    moon.addEllipse(QPointF(330, 22), 9, 9);
    QPainterPath shadow;
    shadow.addEllipse(QPointF(335, 18), 8, 8);
    PaintGlow(painter, QPointF(330, 22), 20, QColor(255, 240, 220, 80));
    painter.setBrush(QColor(255, 246, 220));
    painter.drawPath(moon.subtracted(shadow));
}

void PaintBirds(QPainter& painter) {
    const QPointF birds[] = {{86, 66},  {102, 58}, {118, 70},  {226, 88},
                             {242, 80}, {160, 38}, {348, 126}, {24, 84}};
    painter.setPen(QPen(QColor(40, 28, 60), 1.4, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    for (const QPointF& at : birds) {
        QPainterPath wings;
        wings.moveTo(at + QPointF(-6, -1));
        wings.quadTo(at + QPointF(-3, -4), at);
        wings.quadTo(at + QPointF(3, -4), at + QPointF(6, -1));
        painter.drawPath(wings);
    }
}

// Gulls close by, white against the evening sky.
void PaintGulls(QPainter& painter) {
    for (const QPointF& at : {QPointF(272, 74), QPointF(296, 64), QPointF(318, 84)}) {
        QPainterPath wings;
        wings.moveTo(at + QPointF(-9, 1));
        wings.quadTo(at + QPointF(-5, -6), at);
        wings.quadTo(at + QPointF(5, -6), at + QPointF(9, 1));
        painter.setPen(QPen(QColor(250, 246, 240), 2.0, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(wings);
        painter.setPen(QPen(QColor(40, 30, 50), 2.0, Qt::SolidLine, Qt::RoundCap));
        painter.drawPoint(at + QPointF(-9, 1));
        painter.drawPoint(at + QPointF(9, 1));
    }
}

void PaintHouse(QPainter& painter, SeededRandom& random, double x, double base) {
    static const QColor kWalls[] = {{238, 96, 84},   {252, 206, 96}, {96, 184, 196},
                                    {244, 240, 226}, {244, 146, 66}, {156, 118, 206},
                                    {130, 204, 128}, {250, 170, 190}};
    const double width = random.Uniform(10, 17);
    const double height = random.Uniform(9, 16);
    const QColor wall = kWalls[random.Below(8)];
    QLinearGradient lit(QPointF(x, 0), QPointF(x + width, 0));
    lit.setColorAt(0.0, wall.darker(125));
    lit.setColorAt(1.0, wall);
    painter.setPen(Qt::NoPen);
    painter.setBrush(lit);
    painter.drawRect(QRectF(x, base - height, width, height));

    QPainterPath roof;
    roof.moveTo(x - 1.5, base - height);
    roof.lineTo(x + width / 2, base - height - random.Uniform(4, 8));
    roof.lineTo(x + width + 1.5, base - height);
    roof.closeSubpath();
    painter.setBrush(random.Chance(0.7) ? QColor(190, 74, 54) : QColor(120, 70, 90));
    painter.drawPath(roof);

    for (double wx = x + 2; wx + 3 < x + width; wx += 5) {
        painter.setBrush(random.Chance(0.6) ? QColor(255, 224, 130) : QColor(70, 44, 80));
        painter.drawRect(QRectF(wx, base - height + 3, 2.5, 3.5));
    }
}

void PaintTown(QPainter& painter, SeededRandom& random) {
    QPainterPath hill;
    hill.moveTo(-5, kHorizon + 2);
    for (double x = -5; x <= 220; x += 5) hill.lineTo(x, HillTop(x));
    hill.lineTo(220, kHorizon + 2);
    hill.closeSubpath();
    QLinearGradient ground(QPointF(0, 100), QPointF(0, kHorizon));
    ground.setColorAt(0.0, QColor(96, 70, 118));
    ground.setColorAt(1.0, QColor(58, 48, 94));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ground);
    painter.drawPath(hill);

    // The church tower stands above the top row.
    const double towerBase = HillTop(58) + 12;
    painter.setBrush(QColor(236, 222, 196));
    painter.drawRect(QRectF(52, towerBase - 40, 11, 40));
    QPainterPath spire;
    spire.moveTo(50, towerBase - 40);
    spire.lineTo(57.5, towerBase - 60);
    spire.lineTo(65, towerBase - 40);
    spire.closeSubpath();
    painter.setBrush(QColor(70, 140, 130));
    painter.drawPath(spire);
    painter.setBrush(QColor(255, 226, 140));
    painter.drawEllipse(QPointF(57.5, towerBase - 32), 2.6, 2.6);

    for (int tier = 0; tier < 4; ++tier) {
        double x = -4 + random.Uniform(0, 6);
        while (x < 210) {
            const double base = HillTop(x) + 11 + tier * 15;
            if (base < kHorizon + 6 && !(tier == 0 && x > 44 && x < 66)) {
                PaintHouse(painter, random, x, base);
            }
            x += random.Uniform(13, 20);
        }
    }
}

void PaintLighthouse(QPainter& painter) {
    QPainterPath rock;
    rock.moveTo(310, kHorizon + 2);
    rock.cubicTo(330, 152, 352, 140, 404, 136);
    rock.lineTo(404, kHorizon + 2);
    rock.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(74, 50, 84));
    painter.drawPath(rock);

    QPainterPath beam;
    beam.moveTo(366, 84);
    beam.lineTo(250, 62);
    beam.lineTo(256, 100);
    beam.closeSubpath();
    QLinearGradient fade(QPointF(366, 0), QPointF(250, 0));
    fade.setColorAt(0.0, QColor(255, 244, 190, 120));
    fade.setColorAt(1.0, QColor(255, 244, 190, 0));
    painter.setBrush(fade);
    painter.drawPath(beam);

    const double base = 142;
    const double top = 90;
    for (int band = 0; band < 5; ++band) {
        const double y0 = top + (base - top) * band / 5;
        const double y1 = top + (base - top) * (band + 1) / 5;
        const double half0 = 4.5 + 3 * (y0 - top) / (base - top);
        const double half1 = 4.5 + 3 * (y1 - top) / (base - top);
        QPainterPath piece;
        piece.moveTo(366 - half0, y0);
        piece.lineTo(366 + half0, y0);
        piece.lineTo(366 + half1, y1);
        piece.lineTo(366 - half1, y1);
        piece.closeSubpath();
        painter.setBrush(band % 2 == 0 ? QColor(214, 52, 56) : QColor(246, 240, 228));
        painter.drawPath(piece);
    }
    painter.setBrush(QColor(40, 30, 50));
    painter.drawRect(QRectF(359, top - 2, 14, 3));
    PaintGlow(painter, QPointF(366, top - 7), 16, QColor(255, 236, 160, 200));
    painter.setBrush(QColor(255, 236, 150));
    painter.drawRect(QRectF(362, top - 11, 8, 9));
    QPainterPath cap;
    cap.moveTo(360, top - 11);
    cap.lineTo(366, top - 18);
    cap.lineTo(372, top - 11);
    cap.closeSubpath();
    painter.setBrush(QColor(150, 36, 42));
    painter.drawPath(cap);
}

void PaintSea(QPainter& painter, SeededRandom& random) {
    const QRectF sea(0, kHorizon, kPictureWidth, kPictureHeight - kHorizon);
    QLinearGradient depth(sea.topLeft(), sea.bottomLeft());
    depth.setColorAt(0.0, QColor(246, 166, 124));
    depth.setColorAt(0.22, QColor(168, 98, 136));
    depth.setColorAt(0.6, QColor(40, 72, 134));
    depth.setColorAt(1.0, QColor(12, 32, 78));
    painter.fillRect(sea, depth);
    QLinearGradient shade(sea.topLeft(), sea.topRight());
    shade.setColorAt(0.0, QColor(10, 20, 60, 90));
    shade.setColorAt(0.7, QColor(10, 20, 60, 0));
    painter.fillRect(sea, shade);

    painter.setPen(Qt::NoPen);
    for (double y = kHorizon + 2; y < kPictureHeight; y += random.Uniform(1.6, 2.8)) {
        const double depthShare = (y - kHorizon) / (kPictureHeight - kHorizon);
        const double width = random.Uniform(6, 34) * (1 + depthShare * 1.5);
        const double x = kSun.x() + random.Uniform(-10, 10) * (1 + depthShare * 2);
        const int alpha = static_cast<int>(220 * (1 - depthShare * 0.9));
        painter.setBrush(QColor(255, 226, 160, alpha));
        painter.drawRoundedRect(QRectF(x - width / 2, y, width, 1.6), 0.8, 0.8);
    }

    for (int i = 0; i < 320; ++i) {
        const double share = std::pow(random.Uniform(0, 1), 1.4);
        const double y = kHorizon + 3 + share * (kPictureHeight - kHorizon);
        const double length = 4 + share * 22;
        const double x = random.Uniform(-10, kPictureWidth);
        const bool light = random.Chance(0.5);
        QColor ink = light ? QColor(255, 206, 180, 120) : QColor(14, 30, 80, 130);
        if (share > 0.4 && light) ink = QColor(120, 170, 220, 110);
        QPainterPath wave;
        wave.moveTo(x, y);
        wave.quadTo(x + length / 2, y - 1.5 - share * 2, x + length, y);
        painter.setPen(QPen(ink, 0.8 + share * 1.2, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(wave);
    }
}

struct Sails {
    QColor hull;
    QColor main;
    QColor jib;
    QColor stripe;
};

void PaintSailboatShape(QPainter& painter, QPointF water, double scale, const Sails& colors) {
    painter.save();
    painter.translate(water);
    painter.scale(scale, scale);
    painter.setPen(Qt::NoPen);

    QPainterPath hull;
    hull.moveTo(-22, -7);
    hull.lineTo(24, -7);
    hull.quadTo(20, 0, 14, 1);
    hull.lineTo(-15, 1);
    hull.quadTo(-20, -2, -22, -7);
    painter.setBrush(colors.hull);
    painter.drawPath(hull);
    painter.setBrush(QColor(250, 244, 230));
    painter.drawRect(QRectF(-19, -7, 41, 1.6));

    painter.setPen(QPen(QColor(70, 44, 40), 1.4));
    painter.drawLine(QPointF(0, -7), QPointF(0, -58));
    painter.setPen(Qt::NoPen);

    QPainterPath main;
    main.moveTo(2, -56);
    main.quadTo(18, -30, 28, -10);
    main.lineTo(2, -10);
    main.closeSubpath();
    QLinearGradient cloth(QPointF(2, 0), QPointF(28, 0));
    cloth.setColorAt(0.0, colors.main.lighter(115));
    cloth.setColorAt(1.0, colors.main.darker(115));
    painter.setBrush(cloth);
    painter.drawPath(main);
    painter.save();
    painter.setClipPath(main);
    painter.setBrush(colors.stripe);
    for (double y = -46; y < -10; y += 12) painter.drawRect(QRectF(0, y, 30, 4));
    painter.restore();

    QPainterPath jib;
    jib.moveTo(-2, -50);
    jib.quadTo(-12, -28, -21, -10);
    jib.lineTo(-2, -10);
    jib.closeSubpath();
    painter.setBrush(colors.jib);
    painter.drawPath(jib);

    painter.setBrush(colors.stripe);
    QPainterPath flag;
    flag.moveTo(0, -58);
    flag.lineTo(-8, -55);
    flag.lineTo(0, -52);
    painter.drawPath(flag);
    painter.restore();
}

void PaintSailboat(QPainter& painter, QPointF water, double scale, const Sails& colors) {
    painter.save();
    painter.setOpacity(0.3);
    painter.translate(water);
    painter.scale(1, -0.7);
    PaintSailboatShape(painter, QPointF(0, 0), scale, colors);
    painter.restore();
    PaintSailboatShape(painter, water, scale, colors);
}

void PaintFishingBoat(QPainter& painter, QPointF water) {
    painter.save();
    painter.translate(water);
    painter.setPen(Qt::NoPen);
    QPainterPath hull;
    hull.moveTo(-38, -12);
    hull.lineTo(40, -16);
    hull.quadTo(34, 0, 26, 2);
    hull.lineTo(-30, 2);
    hull.closeSubpath();
    painter.setBrush(QColor(34, 140, 104));
    painter.drawPath(hull);
    painter.setBrush(QColor(250, 236, 200));
    painter.drawRect(QRectF(-36, -13, 75, 2.5));
    painter.setBrush(QColor(246, 242, 232));
    painter.drawRect(QRectF(-12, -32, 26, 19));
    painter.setBrush(QColor(200, 60, 50));
    painter.drawRect(QRectF(-14, -35, 30, 4));
    painter.setBrush(QColor(90, 170, 210));
    for (int i = 0; i < 3; ++i) painter.drawRect(QRectF(-8 + i * 8, -28, 5, 6));
    painter.setPen(QPen(QColor(60, 40, 40), 1.6));
    painter.drawLine(QPointF(24, -14), QPointF(24, -56));
    painter.setPen(QPen(QColor(60, 40, 40, 180), 0.8));
    painter.drawLine(QPointF(24, -56), QPointF(-36, -13));
    painter.drawLine(QPointF(24, -56), QPointF(40, -16));
    const QColor flags[] = {{240, 70, 60}, {255, 210, 70}, {80, 170, 230}, {250, 250, 250}};
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 8; ++i) {
        const QPointF at(24 - i * 7.5, -53 + i * 5.1);
        painter.setBrush(flags[i % 4]);
        QPainterPath pennant;
        pennant.moveTo(at);
        pennant.lineTo(at + QPointF(-4, 0.5));
        pennant.lineTo(at + QPointF(-1.5, 5));
        painter.drawPath(pennant);
    }
    painter.restore();
}

void PaintPier(QPainter& painter) {
    painter.setPen(Qt::NoPen);
    for (double x = 6; x < 150; x += 34) {
        const double deckY = 238 + x * 0.1;
        painter.setBrush(QColor(70, 44, 32));
        painter.drawRect(QRectF(x, deckY, 7, kPictureHeight - deckY));
        painter.setBrush(QColor(110, 160, 170, 120));
        painter.drawRect(QRectF(x - 2, 284 + x * 0.05, 11, 2));
    }
    QPainterPath deck;
    deck.moveTo(-2, 226);
    deck.lineTo(158, 238);
    deck.lineTo(158, 248);
    deck.lineTo(-2, 238);
    deck.closeSubpath();
    QLinearGradient wood(QPointF(0, 0), QPointF(158, 0));
    wood.setColorAt(0.0, QColor(150, 92, 52));
    wood.setColorAt(1.0, QColor(206, 146, 90));
    painter.setBrush(wood);
    painter.drawPath(deck);
    painter.setPen(QPen(QColor(92, 56, 34), 1.0));
    for (double x = 8; x < 158; x += 9) {
        painter.drawLine(QPointF(x, 226 + x * 0.075), QPointF(x, 236 + x * 0.075));
    }
    painter.setPen(Qt::NoPen);

    painter.setBrush(QColor(120, 66, 40));
    painter.drawRoundedRect(QRectF(26, 214, 14, 16), 3, 3);
    painter.setBrush(QColor(90, 50, 30));
    painter.drawRect(QRectF(26, 218, 14, 1.5));
    painter.drawRect(QRectF(26, 225, 14, 1.5));
    painter.setBrush(QColor(176, 120, 70));
    painter.drawRect(QRectF(46, 216, 16, 14));
    painter.setBrush(QColor(230, 90, 60));
    painter.drawRect(QRectF(50, 206, 13, 11));

    painter.setBrush(QColor(40, 34, 40));
    painter.drawRect(QRectF(138, 186, 3, 52));
    PaintGlow(painter, QPointF(139.5, 184), 22, QColor(255, 220, 140, 200));
    painter.setBrush(QColor(255, 236, 170));
    painter.drawRoundedRect(QRectF(134.5, 178, 10, 10), 2, 2);

    painter.setBrush(QColor(60, 40, 40));
    painter.drawEllipse(QRectF(100, 224, 8, 10));
    painter.setPen(QPen(QColor(230, 210, 170), 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(98, 228, 12, 5), 0, -180 * 16);
}

void PaintRowboat(QPainter& painter, QPointF water) {
    painter.save();
    painter.translate(water);
    painter.setPen(Qt::NoPen);
    QPainterPath hull;
    hull.moveTo(-22, -6);
    hull.lineTo(22, -8);
    hull.quadTo(18, 2, 10, 2);
    hull.lineTo(-14, 2);
    hull.closeSubpath();
    painter.setBrush(QColor(232, 76, 60));
    painter.drawPath(hull);
    painter.setBrush(QColor(255, 226, 120));
    painter.drawRect(QRectF(-20, -7.5, 40, 2));
    painter.setPen(QPen(QColor(150, 100, 60), 1.6));
    painter.drawLine(QPointF(-6, -6), QPointF(-26, 6));
    painter.restore();
}

}  // namespace

QImage PaintHarbour() {
    QImage image = Canvas(kPictureWidth, kPictureHeight);
    QPainter painter(&image);
    Smooth(painter);
    SeededRandom random(0x4841524255ull);

    PaintSky(painter);
    PaintEveningStars(painter, random);
    PaintStreakClouds(painter, random);
    PaintBirds(painter);
    PaintGulls(painter);
    {
        SeededRandom coast(7);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(128, 74, 136));
        painter.drawPath(Ridge(coast, kPictureWidth, 160, 5, 7, kHorizon + 2));
    }
    PaintLighthouse(painter);
    PaintSea(painter, random);
    PaintTown(painter, random);

    PaintSailboat(
        painter, QPointF(112, 196), 0.55,
        {QColor(40, 80, 170), QColor(255, 220, 90), QColor(255, 244, 214), QColor(240, 120, 50)});
    PaintSailboat(
        painter, QPointF(336, 214), 0.8,
        {QColor(245, 240, 228), QColor(222, 60, 66), QColor(255, 190, 80), QColor(255, 240, 220)});
    PaintSailboat(
        painter, QPointF(226, 246), 1.15,
        {QColor(150, 40, 50), QColor(250, 246, 236), QColor(90, 180, 220), QColor(60, 110, 200)});
    PaintFishingBoat(painter, QPointF(292, 292));
    PaintRowboat(painter, QPointF(372, 262));
    PaintPier(painter);
    return image;
}
