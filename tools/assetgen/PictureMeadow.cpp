#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "PaintKit.h"
#include "Pictures.h"
#include "SeededRandom.h"

// A summer meadow: rainbow and clouds, a farm on the hills, an old tree, flowers.
namespace {

void PaintSky(QPainter& painter, SeededRandom& random) {
    const QRectF sky(0, 0, kPictureWidth, 170);
    QLinearGradient fall(sky.topLeft(), sky.bottomLeft());
    fall.setColorAt(0.0, QColor(52, 118, 212));
    fall.setColorAt(0.7, QColor(150, 204, 246));
    fall.setColorAt(1.0, QColor(214, 238, 250));
    painter.fillRect(sky, fall);
    QLinearGradient warm(sky.topLeft(), sky.topRight());
    warm.setColorAt(0.0, QColor(255, 236, 170, 90));
    warm.setColorAt(0.5, QColor(255, 236, 170, 0));
    painter.fillRect(sky, warm);

    PaintGlow(painter, QPointF(46, 40), 80, QColor(255, 250, 210, 200));
    painter.setPen(QPen(QColor(255, 240, 160, 150), 2.0, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i) {
        const double angle = i * M_PI / 6 + 0.2;
        const QPointF direction(std::cos(angle), std::sin(angle));
        painter.drawLine(QPointF(46, 40) + direction * 26, QPointF(46, 40) + direction * 38);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 234, 120));
    painter.drawEllipse(QPointF(46, 40), 20, 20);

    // The rainbow's colours make every tile of the sky different.
    const QColor bands[] = {{236, 70, 70},  {248, 150, 60}, {250, 226, 80}, {100, 200, 90},
                            {70, 150, 230}, {90, 90, 200},  {150, 90, 200}};
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < 7; ++i) {
        const double radius = 210 - i * 7;
        painter.setPen(QPen(WithAlpha(bands[i], 120), 7.5));
        painter.drawArc(QRectF(300 - radius, 250 - radius, 2 * radius, 2 * radius), 20 * 16,
                        140 * 16);
    }

    PaintCloud(painter, random, QPointF(132, 34), 110, QColor(255, 255, 255),
               QColor(196, 214, 238));
    PaintCloud(painter, random, QPointF(340, 30), 90, QColor(255, 255, 255), QColor(196, 214, 238));
    PaintCloud(painter, random, QPointF(236, 84), 80, QColor(255, 252, 246), QColor(206, 220, 240));
    PaintCloud(painter, random, QPointF(390, 100), 70, QColor(255, 255, 255),
               QColor(200, 216, 240));
    PaintCloud(painter, random, QPointF(30, 104), 64, QColor(255, 255, 255), QColor(200, 216, 240));
    PaintCloud(painter, random, QPointF(150, 130), 50, QColor(255, 255, 255),
               QColor(206, 222, 242));
}

void PaintSmallTree(QPainter& painter, QPointF foot, double size, const QColor& leaves) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(96, 66, 42));
    painter.drawRect(
        QRectF(foot.x() - size * 0.08, foot.y() - size * 0.5, size * 0.16, size * 0.5));
    painter.setBrush(leaves);
    painter.drawEllipse(foot - QPointF(0, size * 0.75), size * 0.36, size * 0.42);
    painter.setBrush(leaves.lighter(125));
    painter.drawEllipse(foot - QPointF(size * 0.1, size * 0.88), size * 0.18, size * 0.2);
}

void PaintBarn(QPainter& painter, QPointF foot) {
    painter.save();
    painter.translate(foot);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(196, 52, 44));
    painter.drawRect(QRectF(-18, -22, 36, 22));
    QPainterPath roof;
    roof.moveTo(-22, -22);
    roof.lineTo(0, -38);
    roof.lineTo(22, -22);
    roof.closeSubpath();
    painter.setBrush(QColor(90, 60, 56));
    painter.drawPath(roof);
    painter.setBrush(QColor(250, 244, 230));
    painter.drawRect(QRectF(-6, -16, 12, 16));
    painter.setPen(QPen(QColor(196, 52, 44), 1.2));
    painter.drawLine(QPointF(-6, -16), QPointF(6, 0));
    painter.drawLine(QPointF(6, -16), QPointF(-6, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(250, 244, 230));
    painter.drawRect(QRectF(-2.5, -31, 5, 5));
    // A silo beside it.
    painter.setBrush(QColor(200, 200, 210));
    painter.drawRect(QRectF(22, -34, 11, 34));
    painter.setBrush(QColor(120, 140, 170));
    painter.drawEllipse(QRectF(22, -39, 11, 10));
    painter.restore();
}

void PaintWindmill(QPainter& painter, QPointF foot) {
    painter.save();
    painter.translate(foot);
    painter.setPen(Qt::NoPen);
    QPainterPath tower;
    tower.moveTo(-7, 0);
    tower.lineTo(-4, -30);
    tower.lineTo(4, -30);
    tower.lineTo(7, 0);
    tower.closeSubpath();
    painter.setBrush(QColor(240, 236, 226));
    painter.drawPath(tower);
    painter.setBrush(QColor(150, 70, 60));
    painter.drawChord(QRectF(-5, -35, 10, 10), 0, 180 * 16);
    painter.translate(0, -30);
    painter.rotate(20);
    for (int i = 0; i < 4; ++i) {
        painter.setBrush(QColor(250, 250, 246));
        painter.drawRect(QRectF(-1, -26, 2, 26));
        painter.setBrush(QColor(220, 120, 90));
        painter.drawRect(QRectF(1, -24, 5, 18));
        painter.rotate(90);
    }
    painter.setBrush(QColor(80, 60, 50));
    painter.drawEllipse(QPointF(0, 0), 2.2, 2.2);
    painter.restore();
}

void PaintHills(QPainter& painter, SeededRandom& random) {
    painter.setPen(Qt::NoPen);
    {
        SeededRandom shape(21);
        QLinearGradient far(QPointF(0, 120), QPointF(0, 170));
        far.setColorAt(0.0, QColor(110, 160, 170));
        far.setColorAt(1.0, QColor(90, 150, 130));
        painter.setBrush(far);
        painter.drawPath(Ridge(shape, kPictureWidth, 132, 10, 5, 200));
    }
    QPainterPath middle;
    middle.moveTo(-5, 200);
    middle.lineTo(-5, 168);
    middle.cubicTo(80, 140, 180, 170, 260, 150);
    middle.cubicTo(320, 136, 370, 150, 405, 156);
    middle.lineTo(405, 200);
    middle.closeSubpath();
    QLinearGradient green(QPointF(0, 140), QPointF(0, 200));
    green.setColorAt(0.0, QColor(132, 196, 84));
    green.setColorAt(1.0, QColor(84, 160, 70));
    painter.setBrush(green);
    painter.drawPath(middle);

    // Stripes of crops along the middle hill.
    painter.save();
    painter.setClipPath(middle);
    const QColor crops[] = {{214, 200, 90}, {170, 206, 90}, {226, 180, 80}, {120, 180, 80}};
    for (int i = 0; i < 9; ++i) {
        QPainterPath strip;
        const double x = 190 + i * 24;
        strip.moveTo(x, 200);
        strip.lineTo(x + 40, 140);
        strip.lineTo(x + 52, 140);
        strip.lineTo(x + 12, 200);
        strip.closeSubpath();
        painter.setBrush(WithAlpha(crops[i % 4], 150));
        painter.drawPath(strip);
    }
    painter.restore();

    PaintBarn(painter, QPointF(300, 154));
    PaintSmallTree(painter, QPointF(236, 160), 22, QColor(60, 130, 60));
    PaintSmallTree(painter, QPointF(250, 158), 16, QColor(80, 150, 60));
    PaintWindmill(painter, QPointF(384, 156));
    PaintSmallTree(painter, QPointF(356, 154), 20, QColor(50, 120, 70));
    PaintSmallTree(painter, QPointF(146, 162), 18, QColor(70, 140, 60));
    for (int i = 0; i < 6; ++i) {
        const QPointF sheep(110 + i * 13 + random.Uniform(-3, 3), 172 + random.Uniform(-4, 4));
        painter.setBrush(QColor(250, 250, 244));
        painter.drawEllipse(sheep, 4.5, 3);
        painter.setBrush(QColor(50, 44, 44));
        painter.drawEllipse(sheep + QPointF(4, -1), 1.6, 1.4);
    }
}

void PaintMeadowGround(QPainter& painter) {
    QPainterPath front;
    front.moveTo(-5, 305);
    front.lineTo(-5, 196);
    front.cubicTo(120, 176, 240, 204, 405, 186);
    front.lineTo(405, 305);
    front.closeSubpath();
    QLinearGradient grass(QPointF(0, 180), QPointF(0, 300));
    grass.setColorAt(0.0, QColor(168, 210, 80));
    grass.setColorAt(0.5, QColor(96, 170, 60));
    grass.setColorAt(1.0, QColor(46, 120, 50));
    painter.setPen(Qt::NoPen);
    painter.setBrush(grass);
    painter.drawPath(front);
    QLinearGradient side(QPointF(0, 0), QPointF(kPictureWidth, 0));
    side.setColorAt(0.0, QColor(255, 230, 120, 50));
    side.setColorAt(1.0, QColor(20, 60, 80, 60));
    painter.setBrush(side);
    painter.drawPath(front);

    QPainterPath path;
    path.moveTo(250, 305);
    path.cubicTo(230, 260, 320, 230, 296, 196);
    path.lineTo(304, 196);
    path.cubicTo(340, 236, 270, 262, 300, 305);
    path.closeSubpath();
    painter.setBrush(QColor(222, 196, 140));
    painter.drawPath(path);

    painter.setPen(QPen(QColor(226, 206, 160), 2.0));
    for (int i = 0; i < 8; ++i) {
        const double x = 330 + i * 10;
        const double y = 214 - i * 1.8;
        painter.drawLine(QPointF(x, y), QPointF(x, y + 16));
    }
    painter.drawLine(QPointF(328, 218), QPointF(402, 204));
    painter.drawLine(QPointF(328, 225), QPointF(402, 211));
}

void PaintTree(QPainter& painter, SeededRandom& random) {
    painter.setPen(Qt::NoPen);
    QPainterPath trunk;
    trunk.moveTo(56, 250);
    trunk.cubicTo(64, 210, 58, 170, 66, 130);
    trunk.lineTo(80, 130);
    trunk.cubicTo(78, 170, 82, 210, 96, 250);
    trunk.closeSubpath();
    painter.setBrush(QColor(104, 70, 44));
    painter.drawPath(trunk);
    painter.setBrush(QColor(72, 130, 50, 120));
    painter.drawEllipse(QPointF(76, 252), 44, 8);

    for (int i = 0; i < 46; ++i) {
        const double angle = random.Uniform(0, 2 * M_PI);
        const double reach = std::sqrt(random.Uniform(0, 1));
        const QPointF at(72 + std::cos(angle) * reach * 62, 108 + std::sin(angle) * reach * 48);
        const double radius = random.Uniform(13, 22);
        const double light = (120 - at.y()) / 80 + (at.x() - 40) / 200;
        QRadialGradient leaves(at - QPointF(radius * 0.3, radius * 0.4), radius * 1.2);
        leaves.setColorAt(0.0, Hsv(100 + random.Uniform(-12, 18), 0.62, 0.62 + light * 0.2));
        leaves.setColorAt(1.0, Hsv(120 + random.Uniform(-10, 10), 0.7, 0.38 + light * 0.1));
        painter.setBrush(leaves);
        painter.drawEllipse(at, radius, radius * 0.9);
    }
    for (int i = 0; i < 9; ++i) {
        const QPointF apple(40 + random.Uniform(0, 68), 80 + random.Uniform(0, 60));
        painter.setBrush(QColor(226, 50, 50));
        painter.drawEllipse(apple, 3, 3);
    }
}

void PaintFlowers(QPainter& painter, SeededRandom& random) {
    const QColor petals[] = {{232, 48, 62},   {252, 212, 60}, {252, 252, 248}, {164, 92, 214},
                             {252, 134, 180}, {250, 140, 40}, {90, 140, 240}};
    for (int i = 0; i < 420; ++i) {
        const double share = std::sqrt(random.Uniform(0, 1));
        const double y = 196 + share * 108;
        const double x = random.Uniform(-4, kPictureWidth + 4);
        if (x > 240 && x < 330 && y > 220 && std::abs(x - (270 + (300 - y) * 0.2)) < 26) continue;
        const double radius = 1.4 + share * 5.6;
        painter.setPen(QPen(QColor(40, 110, 40), 0.6 + share));
        painter.drawLine(QPointF(x, y), QPointF(x + random.Uniform(-1, 1), y + radius * 2));
        const int kind = random.Below(7);
        const double dx = (x - 200) / 200;
        // Warm flowers lean left and cool ones right, so the field has a direction.
        const int picked = random.Chance(0.35) ? (dx < 0 ? kind % 3 : 3 + kind % 4) : kind;
        PaintFlower(painter, QPointF(x, y), radius, petals[picked],
                    picked == 1 ? QColor(190, 100, 20) : QColor(250, 210, 60));
    }
    painter.setPen(QPen(QColor(36, 100, 40, 180), 1.0));
    for (int i = 0; i < 260; ++i) {
        const double y = random.Uniform(200, 302);
        const double x = random.Uniform(0, kPictureWidth);
        const double length = 2 + (y - 200) * 0.08;
        painter.drawLine(QPointF(x, y), QPointF(x + random.Uniform(-2, 2), y - length));
    }
}

void PaintButterfly(QPainter& painter, QPointF at, const QColor& wings, double angle) {
    painter.save();
    painter.translate(at);
    painter.rotate(angle);
    painter.setPen(Qt::NoPen);
    painter.setBrush(wings);
    painter.drawEllipse(QPointF(-4, -3), 4.5, 3.5);
    painter.drawEllipse(QPointF(4, -3), 4.5, 3.5);
    painter.setBrush(wings.darker(130));
    painter.drawEllipse(QPointF(-3, 3), 3, 2.5);
    painter.drawEllipse(QPointF(3, 3), 3, 2.5);
    painter.setBrush(QColor(40, 30, 30));
    painter.drawRoundedRect(QRectF(-0.8, -5, 1.6, 10), 0.8, 0.8);
    painter.restore();
}

}  // namespace

QImage PaintMeadow() {
    QImage image = Canvas(kPictureWidth, kPictureHeight);
    QPainter painter(&image);
    Smooth(painter);
    SeededRandom random(0x4D4541444F57ull);

    PaintSky(painter, random);
    PaintHills(painter, random);
    PaintMeadowGround(painter);
    PaintTree(painter, random);
    PaintFlowers(painter, random);
    PaintButterfly(painter, QPointF(180, 226), QColor(250, 160, 40), -15);
    PaintButterfly(painter, QPointF(350, 262), QColor(80, 150, 240), 20);
    PaintButterfly(painter, QPointF(130, 150), QColor(250, 230, 90), 5);
    return image;
}
