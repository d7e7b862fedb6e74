#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <vector>

#include "PaintKit.h"
#include "Pictures.h"
#include "SeededRandom.h"

// A city at dusk: stars and a crescent moon, lit towers, a river that mirrors them.
namespace {

constexpr double kStreet = 236;

void PaintSky(QPainter& painter, SeededRandom& random) {
    const QRectF sky(0, 0, kPictureWidth, kStreet);
    QLinearGradient fall(sky.topLeft(), sky.bottomLeft());
    fall.setColorAt(0.0, QColor(16, 14, 56));
    fall.setColorAt(0.35, QColor(62, 34, 112));
    fall.setColorAt(0.62, QColor(190, 70, 132));
    fall.setColorAt(0.85, QColor(255, 146, 90));
    fall.setColorAt(1.0, QColor(255, 196, 120));
    painter.fillRect(sky, fall);
    QLinearGradient side(sky.topLeft(), sky.topRight());
    side.setColorAt(0.0, QColor(30, 90, 190, 130));
    side.setColorAt(0.5, QColor(30, 80, 170, 0));
    side.setColorAt(1.0, QColor(255, 90, 80, 90));
    painter.fillRect(sky, side);

    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 170; ++i) {
        const double y = std::pow(random.Uniform(0, 1), 1.6) * 140;
        const QPointF at(random.Uniform(0, kPictureWidth), y);
        const int alpha = static_cast<int>(255 * (1 - y / 150));
        const double radius = random.Uniform(0.4, 1.3);
        painter.setBrush(random.Chance(0.2) ? QColor(190, 210, 255, alpha)
                                            : QColor(255, 246, 220, alpha));
        painter.drawEllipse(at, radius, radius);
    }
    const QPointF bright[] = {{40, 26},  {150, 60}, {214, 18}, {370, 90}, {96, 104},
                              {270, 44}, {20, 84},  {126, 36}, {186, 96}};
    for (const QPointF& at : bright) PaintTwinkle(painter, at, 5, QColor(255, 250, 230));

    // High wisps of cloud catching the last light.
    const QPointF wisps[] = {{70, 74}, {180, 36}, {250, 82}, {120, 118}};
    for (const QPointF& at : wisps) {
        painter.setBrush(QColor(150, 90, 170, 110));
        painter.drawEllipse(at, 38, 4);
        painter.setBrush(QColor(230, 150, 200, 110));
        painter.drawEllipse(at + QPointF(6, 2), 22, 1.6);
    }

    // Fireworks over the river.
    struct Burst {
        QPointF at;
        double radius;
        QColor color;
    };
    const Burst bursts[] = {{{124, 70}, 26, {255, 210, 90}},
                            {{196, 112}, 18, {255, 110, 200}},
                            {{302, 128}, 16, {120, 240, 160}}};
    for (const Burst& burst : bursts) {
        PaintGlow(painter, burst.at, burst.radius * 1.3, WithAlpha(burst.color, 70));
        for (int i = 0; i < 18; ++i) {
            const double angle = i * M_PI / 9;
            const QPointF direction(std::cos(angle), std::sin(angle));
            QLinearGradient spark(burst.at + direction * burst.radius * 0.3,
                                  burst.at + direction * burst.radius);
            spark.setColorAt(0.0, WithAlpha(burst.color, 0));
            spark.setColorAt(1.0, burst.color);
            painter.setPen(QPen(QBrush(spark), 1.4, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(burst.at + direction * burst.radius * 0.3,
                             burst.at + direction * burst.radius);
            painter.setPen(Qt::NoPen);
            painter.setBrush(Qt::white);
            painter.drawEllipse(burst.at + direction * burst.radius, 1.2, 1.2);
        }
    }

    // A crescent: a disc with a disc of sky taken out of it.
    PaintGlow(painter, QPointF(322, 48), 44, QColor(255, 240, 200, 90));
    QPainterPath moon;
    moon.addEllipse(QPointF(322, 48), 20, 20);
    QPainterPath bite;
    bite.addEllipse(QPointF(332, 40), 18, 18);
    painter.setBrush(QColor(255, 244, 210));
    painter.drawPath(moon.subtracted(bite));

    // A shooting star.
    QLinearGradient trail(QPointF(60, 50), QPointF(120, 20));
    trail.setColorAt(0.0, QColor(255, 255, 255, 0));
    trail.setColorAt(1.0, QColor(255, 255, 255, 220));
    painter.setPen(QPen(QBrush(trail), 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(60, 50), QPointF(120, 20));

    painter.setPen(Qt::NoPen);
    const QPointF streaks[] = {{60, 150}, {220, 132}, {340, 160}, {140, 176}, {300, 190}};
    for (const QPointF& at : streaks) {
        painter.setBrush(QColor(255, 150, 150, 90));
        painter.drawEllipse(at, 60, 3.5);
        painter.setBrush(QColor(255, 210, 170, 90));
        painter.drawEllipse(at + QPointF(10, 2), 34, 1.6);
    }
}

struct Tower {
    QRectF body;
    QColor color;
    int roof;
};

void PaintWindows(QPainter& painter, SeededRandom& random, const QRectF& body, double alpha) {
    const QColor lights[] = {{255, 214, 120}, {255, 240, 190}, {150, 224, 255}, {255, 170, 90}};
    const QColor lit = lights[random.Below(4)];
    painter.setPen(Qt::NoPen);
    for (double y = body.top() + 5; y + 4 < body.bottom(); y += 7) {
        for (double x = body.left() + 3; x + 3 < body.right() - 1; x += 6) {
            if (!random.Chance(0.55)) continue;
            painter.setBrush(WithAlpha(random.Chance(0.85) ? lit : lights[random.Below(4)],
                                       static_cast<int>(alpha)));
            painter.drawRect(QRectF(x, y, 3, 4));
        }
    }
}

void PaintRoof(QPainter& painter, const Tower& tower) {
    const QRectF& b = tower.body;
    painter.setBrush(tower.color);
    switch (tower.roof) {
        case 1: {
            QPainterPath spire;
            spire.moveTo(b.left() + 2, b.top());
            spire.lineTo(b.center().x(), b.top() - b.width() * 1.1);
            spire.lineTo(b.right() - 2, b.top());
            painter.drawPath(spire);
            break;
        }
        case 2:
            painter.drawRect(QRectF(b.left() + b.width() * 0.2, b.top() - 8, b.width() * 0.6, 8));
            painter.drawRect(QRectF(b.center().x() - 0.8, b.top() - 24, 1.6, 16));
            painter.setBrush(QColor(255, 60, 60));
            painter.drawEllipse(QPointF(b.center().x(), b.top() - 24), 1.8, 1.8);
            break;
        case 3:
            painter.drawChord(QRectF(b.left(), b.top() - b.width() / 2, b.width(), b.width()), 0,
                              180 * 16);
            break;
        default:
            break;
    }
}

void PaintCity(QPainter& painter, SeededRandom& random) {
    painter.setPen(Qt::NoPen);
    // Far row, hazy in the glow.
    for (double x = -10; x < kPictureWidth;) {
        const double width = random.Uniform(16, 34);
        const double height = random.Uniform(30, 80);
        const QRectF body(x, kStreet - height, width, height);
        painter.setBrush(QColor(120, 60, 130));
        painter.drawRect(body);
        PaintWindows(painter, random, body, 120);
        x += width + random.Uniform(-2, 4);
    }

    // The television tower, the city's landmark.
    painter.setBrush(QColor(40, 30, 70));
    painter.drawRect(QRectF(246, 70, 6, kStreet - 70));
    painter.drawEllipse(QPointF(249, 96), 13, 8);
    painter.setBrush(QColor(255, 200, 120));
    painter.drawRect(QRectF(238, 95, 22, 2.5));
    painter.setBrush(QColor(40, 30, 70));
    painter.drawRect(QRectF(248, 40, 2, 32));
    painter.setBrush(QColor(255, 60, 60));
    painter.drawEllipse(QPointF(249, 40), 2.2, 2.2);

    const QColor shades[] = {{30, 28, 72}, {44, 34, 88}, {24, 44, 84}, {58, 38, 92}, {36, 52, 96}};
    std::vector<Tower> towers;
    for (double x = -6; x < kPictureWidth;) {
        const double width = random.Uniform(22, 48);
        const double height = random.Uniform(60, 168);
        towers.push_back(
            {QRectF(x, kStreet - height, width, height), shades[random.Below(5)], random.Below(5)});
        x += width + random.Uniform(4, 18);
    }
    for (const Tower& tower : towers) {
        QLinearGradient face(tower.body.topLeft(), tower.body.topRight());
        face.setColorAt(0.0, tower.color.lighter(125));
        face.setColorAt(1.0, tower.color);
        painter.setBrush(face);
        painter.drawRect(tower.body);
        PaintRoof(painter, tower);
        PaintWindows(painter, random, tower.body, 255);
    }

    // Neon signs.
    const QColor neon[] = {{255, 70, 180}, {70, 230, 255}, {180, 255, 90}};
    for (int i = 0; i < 5; ++i) {
        const Tower& tower = towers[1 + (i * 3) % (towers.size() - 1)];
        const QRectF sign(tower.body.left() + 3, kStreet - 30 - i * 7, tower.body.width() - 6, 5);
        PaintGlow(painter, sign.center(), sign.width() * 0.7, WithAlpha(neon[i % 3], 90));
        painter.setBrush(neon[i % 3]);
        painter.drawRoundedRect(sign, 2, 2);
    }
}

void PaintRiver(QPainter& painter, const QImage& city, SeededRandom& random) {
    const QRectF water(0, kStreet, kPictureWidth, kPictureHeight - kStreet);
    QLinearGradient depth(water.topLeft(), water.bottomLeft());
    depth.setColorAt(0.0, QColor(60, 34, 90));
    depth.setColorAt(1.0, QColor(12, 12, 40));
    painter.fillRect(water, depth);

    // The mirror image, broken into wavering strips.
    painter.setOpacity(0.55);
    for (double y = 0; y < water.height(); y += 2) {
        const double shift = random.Uniform(-3, 3) * (1 + y / 30);
        painter.drawImage(QRectF(shift, kStreet + y, kPictureWidth, 2), city,
                          QRectF(0, kStreet - y * 1.6 - 2, kPictureWidth, 2));
    }
    painter.setOpacity(1.0);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 30, 60));
    painter.drawRect(QRectF(0, kStreet, kPictureWidth, 3));
    const QColor lamps[] = {{255, 220, 140}, {255, 200, 110}};
    for (double x = 12; x < kPictureWidth; x += 34) {
        painter.setBrush(lamps[static_cast<int>(x) % 2]);
        painter.drawEllipse(QPointF(x, kStreet - 1), 1.8, 1.8);
        painter.setBrush(QColor(255, 220, 140, 90));
        painter.drawRect(QRectF(x - 1, kStreet + 4, 2, random.Uniform(8, 20)));
    }
    // A ferry crossing.
    painter.setBrush(QColor(240, 240, 246));
    painter.drawRect(QRectF(60, 262, 58, 8));
    painter.setBrush(QColor(30, 40, 70));
    painter.drawRect(QRectF(56, 270, 66, 6));
    painter.setBrush(QColor(255, 220, 120));
    for (int i = 0; i < 7; ++i) painter.drawRect(QRectF(64 + i * 7.5, 264, 4, 3));
    painter.setBrush(QColor(240, 80, 60));
    painter.drawRect(QRectF(80, 254, 6, 8));
}

}  // namespace

QImage PaintSkyline() {
    QImage image = Canvas(kPictureWidth, kPictureHeight);
    QPainter painter(&image);
    Smooth(painter);
    SeededRandom random(0x534B59ull);

    PaintSky(painter, random);
    PaintCity(painter, random);
    painter.end();
    const QImage city = image.copy();
    painter.begin(&image);
    Smooth(painter);
    PaintRiver(painter, city, random);
    return image;
}
