#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "PaintKit.h"
#include "Pictures.h"
#include "SeededRandom.h"

// Deep space: glowing nebulae, a ringed planet, a blue world and its moon, a comet.
namespace {

void PaintNebulae(QPainter& painter, SeededRandom& random) {
    struct Cloud {
        QPointF at;
        double radius;
        QColor color;
    };
    const Cloud clouds[] = {
        {{60, 60}, 150, {40, 90, 200, 150}},    {{330, 60}, 140, {200, 50, 150, 150}},
        {{210, 150}, 120, {120, 60, 200, 120}}, {{80, 250}, 130, {220, 110, 50, 130}},
        {{360, 250}, 140, {40, 170, 200, 130}}, {{230, 290}, 90, {220, 60, 100, 120}},
        {{160, 30}, 80, {90, 200, 220, 110}},   {{400, 150}, 100, {130, 70, 220, 110}},
    };
    painter.setCompositionMode(QPainter::CompositionMode_Plus);
    for (const Cloud& cloud : clouds) PaintGlow(painter, cloud.at, cloud.radius, cloud.color);
    // Wisps of dust, tinted by where they lie.
    for (int i = 0; i < 180; ++i) {
        const QPointF at(random.Uniform(0, kPictureWidth), random.Uniform(0, kPictureHeight));
        const double hue = 200 + at.x() * 0.35 - at.y() * 0.25;
        PaintGlow(painter, at, random.Uniform(8, 26), Hsv(hue, 0.7, 0.7, 40));
    }
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void PaintStars(QPainter& painter, SeededRandom& random) {
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 520; ++i) {
        const QPointF at(random.Uniform(0, kPictureWidth), random.Uniform(0, kPictureHeight));
        const double radius = std::pow(random.Uniform(0, 1), 3) * 1.6 + 0.3;
        const int tint = random.Below(3);
        const QColor color = tint == 0
                                 ? QColor(255, 255, 255)
                                 : (tint == 1 ? QColor(190, 210, 255) : QColor(255, 226, 190));
        painter.setBrush(WithAlpha(color, static_cast<int>(random.Uniform(120, 255))));
        painter.drawEllipse(at, radius, radius);
    }
    const QPointF bright[] = {{30, 120},  {180, 90}, {270, 30},  {380, 120}, {120, 180},
                              {300, 200}, {40, 286}, {250, 260}, {360, 290}, {196, 222}};
    for (const QPointF& at : bright) PaintTwinkle(painter, at, 7, QColor(255, 250, 240));
}

void PaintRingedPlanet(QPainter& painter, QPointF centre, double radius) {
    painter.save();
    painter.translate(centre);
    painter.rotate(-18);
    const QRectF outer(-radius * 2.0, -radius * 0.5, radius * 4.0, radius * 1.0);
    const QRectF inner(-radius * 1.45, -radius * 0.32, radius * 2.9, radius * 0.64);
    QPainterPath ring;
    ring.addEllipse(outer);
    ring.addEllipse(inner);
    ring.setFillRule(Qt::OddEvenFill);
    QPainterPath back;
    back.addRect(QRectF(-radius * 2.2, -radius * 0.6, radius * 4.4, radius * 0.6));
    QLinearGradient bands(QPointF(-radius * 2, 0), QPointF(radius * 2, 0));
    bands.setColorAt(0.0, QColor(250, 220, 170, 210));
    bands.setColorAt(0.5, QColor(200, 150, 110, 210));
    bands.setColorAt(1.0, QColor(250, 220, 170, 210));
    painter.setPen(Qt::NoPen);
    painter.setBrush(bands);
    painter.drawPath(ring.intersected(back));

    QPainterPath body;
    body.addEllipse(QPointF(0, 0), radius, radius);
    painter.save();
    painter.setClipPath(body);
    const QColor stripes[] = {{236, 196, 140}, {210, 140, 90},  {246, 220, 170}, {190, 110, 80},
                              {236, 180, 120}, {250, 230, 190}, {200, 130, 90}};
    for (int i = 0; i < 7; ++i) {
        painter.setBrush(stripes[i]);
        painter.drawRect(
            QRectF(-radius, -radius + i * radius * 2 / 7, radius * 2, radius * 2 / 7 + 1));
    }
    painter.setBrush(QColor(200, 90, 70));
    painter.drawEllipse(QPointF(radius * 0.3, radius * 0.25), radius * 0.22, radius * 0.12);
    QRadialGradient shade(QPointF(-radius * 0.4, -radius * 0.4), radius * 1.8);
    shade.setColorAt(0.0, QColor(255, 255, 255, 60));
    shade.setColorAt(0.5, QColor(0, 0, 0, 0));
    shade.setColorAt(1.0, QColor(0, 0, 20, 200));
    painter.setBrush(shade);
    painter.drawRect(QRectF(-radius, -radius, radius * 2, radius * 2));
    painter.restore();

    QPainterPath front;
    front.addRect(QRectF(-radius * 2.2, 0, radius * 4.4, radius * 0.6));
    painter.setBrush(bands);
    painter.drawPath(ring.intersected(front));
    painter.restore();
}

void PaintBlueWorld(QPainter& painter, SeededRandom& random, QPointF centre, double radius) {
    PaintGlow(painter, centre, radius * 1.35, QColor(90, 170, 255, 120));
    QPainterPath body;
    body.addEllipse(centre, radius, radius);
    painter.save();
    painter.setClipPath(body);
    painter.fillRect(body.boundingRect(), QColor(30, 100, 200));
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 9; ++i) {
        const QPointF at =
            centre + QPointF(random.Uniform(-radius, radius), random.Uniform(-radius, radius));
        painter.setBrush(i % 3 == 0 ? QColor(220, 200, 130) : QColor(60, 160, 80));
        painter.drawEllipse(at, random.Uniform(4, 11), random.Uniform(3, 8));
    }
    painter.setBrush(QColor(255, 255, 255, 170));
    for (int i = 0; i < 5; ++i) {
        const QPointF at =
            centre + QPointF(random.Uniform(-radius, radius), random.Uniform(-radius, radius));
        painter.drawEllipse(at, random.Uniform(6, 14), 2);
    }
    QRadialGradient shade(centre - QPointF(radius * 0.4, radius * 0.4), radius * 1.9);
    shade.setColorAt(0.0, QColor(255, 255, 255, 50));
    shade.setColorAt(0.5, QColor(0, 0, 0, 0));
    shade.setColorAt(1.0, QColor(0, 0, 20, 220));
    painter.setBrush(shade);
    painter.drawRect(body.boundingRect());
    painter.restore();
}

void PaintMoon(QPainter& painter, QPointF centre, double radius) {
    QRadialGradient stone(centre - QPointF(radius * 0.4, radius * 0.4), radius * 1.8);
    stone.setColorAt(0.0, QColor(230, 226, 220));
    stone.setColorAt(1.0, QColor(70, 66, 80));
    painter.setPen(Qt::NoPen);
    painter.setBrush(stone);
    painter.drawEllipse(centre, radius, radius);
    painter.setBrush(QColor(120, 116, 120, 150));
    painter.drawEllipse(centre + QPointF(-radius * 0.3, -radius * 0.1), radius * 0.25,
                        radius * 0.25);
    painter.drawEllipse(centre + QPointF(radius * 0.3, radius * 0.35), radius * 0.18,
                        radius * 0.18);
}

void PaintComet(QPainter& painter, QPointF head) {
    QPainterPath tail;
    tail.moveTo(head + QPointF(0, -4));
    tail.lineTo(head + QPointF(-110, -52));
    tail.lineTo(head + QPointF(-100, -30));
    tail.lineTo(head + QPointF(0, 4));
    tail.closeSubpath();
    QLinearGradient fade(head, head + QPointF(-105, -42));
    fade.setColorAt(0.0, QColor(200, 240, 255, 220));
    fade.setColorAt(1.0, QColor(120, 180, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fade);
    painter.drawPath(tail);
    PaintGlow(painter, head, 14, QColor(220, 250, 255, 230));
    painter.setBrush(Qt::white);
    painter.drawEllipse(head, 3.5, 3.5);
}

void PaintAsteroids(QPainter& painter, SeededRandom& random) {
    const QPointF rocks[] = {{16, 268},  {52, 290},  {86, 262}, {128, 284}, {30, 236},
                             {104, 300}, {150, 250}, {64, 244}, {8, 300}};
    for (const QPointF& at : rocks) {
        const double size = random.Uniform(4, 11);
        QPainterPath rock;
        for (int i = 0; i < 9; ++i) {
            const double angle = i * 2 * M_PI / 9;
            const double reach = size * random.Uniform(0.7, 1.15);
            const QPointF point =
                at + QPointF(std::cos(angle) * reach, std::sin(angle) * reach * 0.8);
            if (i == 0)
                rock.moveTo(point);
            else
                rock.lineTo(point);
        }
        rock.closeSubpath();
        QRadialGradient stone(at - QPointF(size * 0.4, size * 0.4), size * 1.6);
        stone.setColorAt(0.0, QColor(200, 180, 160));
        stone.setColorAt(1.0, QColor(70, 56, 60));
        painter.setPen(Qt::NoPen);
        painter.setBrush(stone);
        painter.drawPath(rock);
        painter.setBrush(QColor(60, 48, 52, 160));
        painter.drawEllipse(at + QPointF(size * 0.2, size * 0.1), size * 0.22, size * 0.18);
    }
}

void PaintRocket(QPainter& painter, QPointF at) {
    painter.save();
    painter.translate(at);
    painter.rotate(40);
    painter.setPen(Qt::NoPen);
    QPainterPath flame;
    flame.moveTo(-5, 14);
    flame.quadTo(0, 40, 5, 14);
    flame.closeSubpath();
    QLinearGradient fire(QPointF(0, 14), QPointF(0, 38));
    fire.setColorAt(0.0, QColor(255, 240, 150));
    fire.setColorAt(1.0, QColor(255, 90, 40, 0));
    painter.setBrush(fire);
    painter.drawPath(flame);
    painter.setBrush(QColor(220, 60, 60));
    for (int side : {-1, 1}) {
        QPainterPath fin;
        fin.moveTo(side * 5, 2);
        fin.lineTo(side * 11, 15);
        fin.lineTo(side * 5, 12);
        fin.closeSubpath();
        painter.drawPath(fin);
    }
    QPainterPath body;
    body.moveTo(0, -20);
    body.cubicTo(8, -12, 7, 6, 5, 14);
    body.lineTo(-5, 14);
    body.cubicTo(-7, 6, -8, -12, 0, -20);
    QLinearGradient metal(QPointF(-6, 0), QPointF(6, 0));
    metal.setColorAt(0.0, QColor(250, 250, 255));
    metal.setColorAt(1.0, QColor(160, 170, 190));
    painter.setBrush(metal);
    painter.drawPath(body);
    painter.setBrush(QColor(220, 60, 60));
    painter.drawChord(QRectF(-8, -20, 16, 14), 30 * 16, 120 * 16);
    painter.setBrush(QColor(80, 180, 240));
    painter.drawEllipse(QPointF(0, -3), 3, 3);
    painter.restore();
}

void PaintGalaxy(QPainter& painter, SeededRandom& random, QPointF centre) {
    painter.save();
    painter.translate(centre);
    painter.rotate(-20);
    PaintGlow(painter, QPointF(0, 0), 40, QColor(255, 226, 190, 150));
    PaintGlow(painter, QPointF(0, 0), 12, QColor(255, 250, 230, 240));
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 700; ++i) {
        const double t = random.Uniform(0, 1);
        const double arm = random.Below(2) * M_PI;
        const double angle = arm + t * 3.6 + random.Uniform(-0.3, 0.3);
        const double reach = 4 + t * 50;
        const QPointF at(std::cos(angle) * reach, std::sin(angle) * reach * 0.5);
        painter.setBrush(Hsv(200 + t * 110, 0.45, 1.0, static_cast<int>(230 * (1 - t * 0.6))));
        painter.drawEllipse(at, 1.1, 1.1);
    }
    painter.restore();
}

}  // namespace

QImage PaintCosmos() {
    QImage image = Canvas(kPictureWidth, kPictureHeight, QColor(6, 6, 22));
    QPainter painter(&image);
    Smooth(painter);
    SeededRandom random(0x434F534Dull);

    PaintNebulae(painter, random);
    PaintStars(painter, random);
    PaintGalaxy(painter, random, QPointF(300, 236));
    PaintComet(painter, QPointF(150, 100));
    PaintAsteroids(painter, random);
    PaintRocket(painter, QPointF(176, 268));
    PaintRingedPlanet(painter, QPointF(106, 206), 40);
    PaintBlueWorld(painter, random, QPointF(318, 92), 32);
    PaintMoon(painter, QPointF(372, 150), 9);
    PaintMoon(painter, QPointF(220, 40), 6);
    return image;
}
