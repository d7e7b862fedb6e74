#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "PaintKit.h"
#include "Pictures.h"
#include "SeededRandom.h"

// A coral reef: light from above, corals and kelp on the sand, fish of every colour.
namespace {

void PaintWater(QPainter& painter, SeededRandom& random) {
    const QRectF all(0, 0, kPictureWidth, kPictureHeight);
    QLinearGradient depth(all.topLeft(), all.bottomLeft());
    depth.setColorAt(0.0, QColor(110, 222, 226));
    depth.setColorAt(0.45, QColor(32, 132, 190));
    depth.setColorAt(1.0, QColor(10, 40, 104));
    painter.fillRect(all, depth);
    QLinearGradient side(all.topLeft(), all.topRight());
    side.setColorAt(0.0, QColor(40, 200, 140, 70));
    side.setColorAt(1.0, QColor(60, 40, 180, 70));
    painter.fillRect(all, side);

    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 7; ++i) {
        const double top = 20 + i * 58 + random.Uniform(-10, 10);
        const double spread = random.Uniform(14, 30);
        QPainterPath ray;
        ray.moveTo(top, -2);
        ray.lineTo(top + spread, -2);
        ray.lineTo(top + spread * 3 - 60, 260);
        ray.lineTo(top - 70, 260);
        ray.closeSubpath();
        QLinearGradient fade(QPointF(0, 0), QPointF(0, 260));
        fade.setColorAt(0.0, QColor(255, 255, 230, 70));
        fade.setColorAt(1.0, QColor(255, 255, 230, 0));
        painter.setBrush(fade);
        painter.drawPath(ray);
    }

    // The sun shining through the surface.
    PaintGlow(painter, QPointF(110, -6), 70, QColor(255, 255, 210, 150));

    painter.setPen(QPen(QColor(230, 255, 255, 140), 1.5));
    painter.setBrush(Qt::NoBrush);
    for (double x = -10; x < kPictureWidth; x += random.Uniform(12, 26)) {
        const double y = random.Uniform(3, 12);
        QPainterPath ripple;
        ripple.moveTo(x, y);
        ripple.quadTo(x + 8, y - 3, x + 16, y);
        painter.drawPath(ripple);
    }
}

void PaintSand(QPainter& painter, SeededRandom& random) {
    QPainterPath sand;
    sand.moveTo(-5, 305);
    sand.lineTo(-5, 262);
    sand.cubicTo(80, 246, 160, 270, 250, 256);
    sand.cubicTo(320, 246, 370, 262, 405, 254);
    sand.lineTo(405, 305);
    sand.closeSubpath();
    QLinearGradient tone(QPointF(0, 250), QPointF(0, 300));
    tone.setColorAt(0.0, QColor(236, 212, 156));
    tone.setColorAt(1.0, QColor(196, 160, 106));
    painter.setPen(Qt::NoPen);
    painter.setBrush(tone);
    painter.drawPath(sand);
    painter.setPen(QPen(QColor(176, 140, 90, 150), 1.0));
    for (int i = 0; i < 40; ++i) {
        const double x = random.Uniform(0, kPictureWidth);
        const double y = random.Uniform(268, 298);
        QPainterPath ripple;
        ripple.moveTo(x, y);
        ripple.quadTo(x + 6, y - 2, x + 12, y);
        painter.drawPath(ripple);
    }

    // A starfish and a shell.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(240, 110, 50));
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const double angle = -M_PI / 2 + i * M_PI / 5;
        const double radius = i % 2 == 0 ? 11 : 4.5;
        const QPointF point(318 + std::cos(angle) * radius, 284 + std::sin(angle) * radius);
        if (i == 0)
            star.moveTo(point);
        else
            star.lineTo(point);
    }
    star.closeSubpath();
    painter.drawPath(star);
    painter.setBrush(QColor(252, 226, 210));
    painter.drawPie(QRectF(30, 278, 18, 18), 0, 180 * 16);
    painter.setPen(QPen(QColor(210, 160, 150), 0.8));
    for (int i = 1; i < 6; ++i) {
        const double angle = i * M_PI / 6;
        painter.drawLine(QPointF(39, 287),
                         QPointF(39 + std::cos(angle) * 8, 287 - std::sin(angle) * 8));
    }
}

void PaintBranch(QPainter& painter, SeededRandom& random, QPointF from, double angle, double length,
                 double width, int depth) {
    const QPointF to = from + QPointF(std::cos(angle), -std::sin(angle)) * length;
    painter.setPen(QPen(painter.pen().color(), width, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(from, to);
    if (depth == 0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(painter.brush().color());
        painter.drawEllipse(to, width * 0.9, width * 0.9);
        return;
    }
    for (int side : {-1, 1}) {
        const QColor keep = painter.pen().color();
        PaintBranch(painter, random, to, angle + side * random.Uniform(0.25, 0.6),
                    length * random.Uniform(0.62, 0.8), width * 0.72, depth - 1);
        painter.setPen(QPen(keep, width));
    }
}

void PaintBranchCoral(QPainter& painter, SeededRandom& random, QPointF foot, const QColor& color,
                      double size) {
    painter.save();
    painter.setPen(QPen(color, size * 0.2));
    painter.setBrush(color.lighter(130));
    for (double angle : {1.25, 1.57, 1.9}) {
        PaintBranch(painter, random, foot, angle + random.Uniform(-0.1, 0.1), size, size * 0.2, 4);
    }
    painter.restore();
}

void PaintBrainCoral(QPainter& painter, QPointF foot, double radius) {
    QRadialGradient dome(foot - QPointF(radius * 0.3, radius * 0.6), radius * 1.3);
    dome.setColorAt(0.0, QColor(250, 210, 120));
    dome.setColorAt(1.0, QColor(200, 130, 70));
    painter.setPen(Qt::NoPen);
    painter.setBrush(dome);
    painter.drawChord(QRectF(foot.x() - radius, foot.y() - radius, radius * 2, radius * 2), 0,
                      180 * 16);
    painter.setPen(QPen(QColor(170, 100, 50), 1.2));
    painter.setBrush(Qt::NoBrush);
    for (double r = radius * 0.3; r < radius; r += 5) {
        QPainterPath wiggle;
        for (int i = 0; i <= 24; ++i) {
            const double angle = M_PI * i / 24;
            const double wobble = r + std::sin(i * 2.3) * 1.6;
            const QPointF point(foot.x() + std::cos(angle) * wobble,
                                foot.y() - std::sin(angle) * wobble);
            if (i == 0)
                wiggle.moveTo(point);
            else
                wiggle.lineTo(point);
        }
        painter.drawPath(wiggle);
    }
}

void PaintFan(QPainter& painter, QPointF foot, double size, const QColor& color) {
    painter.save();
    painter.setPen(QPen(color, 1.4, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i <= 16; ++i) {
        const double angle = M_PI * (0.2 + 0.6 * i / 16);
        QPainterPath rib;
        rib.moveTo(foot);
        rib.quadTo(foot + QPointF(std::cos(angle) * size * 0.5, -size * 0.4),
                   foot + QPointF(std::cos(angle) * size, -std::sin(angle) * size));
        painter.drawPath(rib);
    }
    painter.setPen(QPen(WithAlpha(color.lighter(140), 160), 0.8));
    painter.setBrush(Qt::NoBrush);
    for (double r = size * 0.35; r < size; r += size * 0.16) {
        painter.drawArc(QRectF(foot.x() - r, foot.y() - r, 2 * r, 2 * r), 36 * 16, 108 * 16);
    }
    painter.restore();
}

void PaintAnemone(QPainter& painter, QPointF foot, const QColor& color) {
    painter.save();
    for (int i = 0; i < 18; ++i) {
        const double angle = M_PI * (0.1 + 0.8 * i / 17);
        const QPointF tip = foot + QPointF(std::cos(angle) * 22, -std::sin(angle) * 26);
        QPainterPath arm;
        arm.moveTo(foot);
        arm.quadTo(foot + QPointF(std::cos(angle) * 6, -18), tip);
        painter.setPen(
            QPen(i % 2 == 0 ? color : color.lighter(125), 3.0, Qt::SolidLine, Qt::RoundCap));
        painter.drawPath(arm);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(color.darker(140));
    painter.drawEllipse(foot, 10, 5);
    painter.restore();
}

void PaintTubes(QPainter& painter, QPointF foot) {
    const double heights[] = {34, 48, 28, 40};
    const QColor colors[] = {{250, 210, 60}, {240, 180, 40}, {250, 226, 90}, {236, 160, 50}};
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        const QRectF tube(foot.x() + i * 9 - 18, foot.y() - heights[i], 8, heights[i]);
        QLinearGradient shade(tube.topLeft(), tube.topRight());
        shade.setColorAt(0.0, colors[i].lighter(115));
        shade.setColorAt(1.0, colors[i].darker(125));
        painter.setBrush(shade);
        painter.drawRoundedRect(tube, 3, 3);
        painter.setBrush(colors[i].darker(170));
        painter.drawEllipse(QRectF(tube.left() + 1, tube.top(), 6, 3));
    }
}

void PaintKelp(QPainter& painter, double x, double top, const QColor& color, double phase) {
    QPainterPath stem;
    stem.moveTo(x, 300);
    for (double y = 300; y > top; y -= 6) {
        stem.lineTo(x + std::sin(y / 22 + phase) * 8, y);
    }
    painter.setPen(QPen(color, 3.0, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(stem);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color.lighter(115));
    for (double y = 290; y > top + 10; y -= 18) {
        const double cx = x + std::sin(y / 22 + phase) * 8;
        const double side = (static_cast<int>(y) / 18) % 2 == 0 ? 1 : -1;
        painter.drawEllipse(QPointF(cx + side * 6, y), 6, 2.6);
    }
}

struct FishLook {
    QColor body;
    QColor fin;
    QColor stripe;
    int stripes;
};

void PaintFish(QPainter& painter, QPointF at, double length, bool facingLeft,
               const FishLook& look) {
    painter.save();
    painter.translate(at);
    if (facingLeft) painter.scale(-1, 1);
    painter.scale(length / 40, length / 40);
    painter.setPen(Qt::NoPen);

    QPainterPath tail;
    tail.moveTo(-14, 0);
    tail.lineTo(-26, -10);
    tail.quadTo(-22, 0, -26, 10);
    tail.closeSubpath();
    painter.setBrush(look.fin);
    painter.drawPath(tail);
    QPainterPath fin;
    fin.moveTo(-6, -9);
    fin.quadTo(2, -19, 8, -9);
    fin.closeSubpath();
    painter.drawPath(fin);

    QPainterPath body;
    body.addEllipse(QPointF(0, 0), 18, 10);
    QLinearGradient shade(QPointF(0, -10), QPointF(0, 10));
    shade.setColorAt(0.0, look.body.lighter(120));
    shade.setColorAt(1.0, look.body.darker(130));
    painter.setBrush(shade);
    painter.drawPath(body);
    painter.save();
    painter.setClipPath(body);
    painter.setBrush(look.stripe);
    for (int i = 0; i < look.stripes; ++i) {
        const double x = 8 - i * 9;
        painter.drawRect(QRectF(x - 2, -12, 4, 24));
    }
    painter.restore();

    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(10, -2), 3, 3);
    painter.setBrush(QColor(20, 20, 30));
    painter.drawEllipse(QPointF(10.8, -2), 1.6, 1.6);
    painter.restore();
}

void PaintJelly(QPainter& painter, QPointF at, double size, const QColor& color) {
    painter.save();
    painter.setPen(QPen(WithAlpha(color, 150), 1.4, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < 6; ++i) {
        const double x = at.x() - size * 0.6 + i * size * 0.24;
        QPainterPath strand;
        strand.moveTo(x, at.y());
        strand.cubicTo(x - 6, at.y() + size * 0.8, x + 6, at.y() + size * 1.3, x - 2,
                       at.y() + size * 1.9);
        painter.drawPath(strand);
    }
    QRadialGradient bell(at - QPointF(size * 0.2, size * 0.4), size);
    bell.setColorAt(0.0, WithAlpha(color.lighter(130), 230));
    bell.setColorAt(1.0, WithAlpha(color, 150));
    painter.setPen(Qt::NoPen);
    painter.setBrush(bell);
    painter.drawChord(QRectF(at.x() - size * 0.7, at.y() - size * 0.7, size * 1.4, size * 1.4), 0,
                      180 * 16);
    painter.restore();
}

// A boat seen from below at the surface, its anchor down on the sand.
void PaintAnchoredBoat(QPainter& painter) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 50, 70, 220));
    QPainterPath hull;
    hull.moveTo(226, -2);
    hull.lineTo(322, -2);
    hull.quadTo(316, 14, 296, 16);
    hull.lineTo(246, 16);
    hull.quadTo(230, 12, 226, -2);
    painter.drawPath(hull);
    painter.setBrush(QColor(200, 80, 60, 200));
    painter.drawRect(QRectF(234, 8, 80, 3));

    QPainterPath rope;
    rope.moveTo(300, 14);
    rope.cubicTo(306, 90, 270, 170, 282, 244);
    painter.setPen(QPen(QColor(200, 180, 130), 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(rope);
    painter.setPen(QPen(QColor(70, 80, 90), 3.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(282, 244), QPointF(282, 262));
    painter.drawLine(QPointF(276, 248), QPointF(288, 248));
    painter.drawArc(QRectF(272, 252, 20, 14), 200 * 16, 140 * 16);
}

void PaintRay(QPainter& painter, QPointF at, double span) {
    painter.save();
    painter.translate(at);
    painter.rotate(8);
    painter.scale(span / 120, span / 120);
    painter.setPen(Qt::NoPen);
    QPainterPath tail;
    tail.moveTo(-2, 10);
    tail.quadTo(-4, 40, -14, 56);
    tail.quadTo(0, 40, 2, 10);
    painter.setBrush(QColor(30, 50, 90));
    painter.drawPath(tail);
    QPainterPath wings;
    wings.moveTo(0, -22);
    wings.cubicTo(20, -22, 40, -6, 60, -12);
    wings.cubicTo(44, 4, 24, 16, 0, 18);
    wings.cubicTo(-24, 16, -44, 4, -60, -12);
    wings.cubicTo(-40, -6, -20, -22, 0, -22);
    QLinearGradient back(QPointF(0, -22), QPointF(0, 18));
    back.setColorAt(0.0, QColor(60, 90, 150));
    back.setColorAt(1.0, QColor(24, 40, 80));
    painter.setBrush(back);
    painter.drawPath(wings);
    painter.setBrush(QColor(230, 236, 246));
    for (int side : {-1, 1}) painter.drawEllipse(QPointF(side * 26, -4), 5, 3);
    painter.setBrush(QColor(40, 60, 110));
    for (int side : {-1, 1}) {
        painter.drawEllipse(QPointF(side * 9, -24), 4, 6);
    }
    painter.restore();
}

void PaintSeahorse(QPainter& painter, QPointF head, const QColor& color) {
    painter.save();
    painter.translate(head);
    QPainterPath body;
    body.moveTo(1, 4);
    body.cubicTo(10, 14, 8, 24, 0, 28);
    body.cubicTo(-4, 31, -2, 38, 4, 38);
    body.cubicTo(8, 38, 8, 33, 4, 33);
    painter.setPen(QPen(color, 6.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(body);
    painter.setPen(QPen(color.lighter(130), 2.0, Qt::DotLine, Qt::RoundCap));
    painter.drawPath(body);
    painter.setPen(QPen(color, 3.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(-2, 1), QPointF(-10, 4));
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(QPointF(0, 0), 5, 4.5);
    painter.setBrush(color.darker(120));
    QPainterPath fin;
    fin.moveTo(7, 12);
    fin.quadTo(14, 16, 8, 22);
    fin.closeSubpath();
    painter.drawPath(fin);
    painter.setBrush(QColor(20, 20, 30));
    painter.drawEllipse(QPointF(0.5, -0.5), 1.4, 1.4);
    painter.restore();
}

void PaintTurtle(QPainter& painter, QPointF at, double size) {
    painter.save();
    painter.translate(at);
    painter.rotate(-12);
    painter.scale(size / 60, size / 60);
    painter.setPen(Qt::NoPen);
    const QColor skin(120, 170, 110);
    painter.setBrush(skin);
    for (int side : {-1, 1}) {
        QPainterPath flipper;
        flipper.moveTo(10, side * 10);
        flipper.cubicTo(18, side * 30, 4, side * 40, -4, side * 36);
        flipper.cubicTo(2, side * 26, 0, side * 16, 0, side * 10);
        painter.drawPath(flipper);
        painter.drawEllipse(QPointF(-24, side * 14), 9, 5);
    }
    painter.drawEllipse(QPointF(34, 0), 10, 8);
    painter.setBrush(QColor(20, 30, 30));
    painter.drawEllipse(QPointF(38, -3), 1.8, 1.8);

    QPainterPath shell;
    shell.addEllipse(QPointF(0, 0), 28, 21);
    QRadialGradient shade(QPointF(-6, -8), 34);
    shade.setColorAt(0.0, QColor(170, 150, 80));
    shade.setColorAt(1.0, QColor(90, 100, 50));
    painter.setBrush(shade);
    painter.drawPath(shell);
    painter.setPen(QPen(QColor(230, 200, 110), 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(0, 0), 11, 8);
    for (int i = 0; i < 6; ++i) {
        const double angle = i * M_PI / 3;
        painter.drawLine(QPointF(std::cos(angle) * 11, std::sin(angle) * 8),
                         QPointF(std::cos(angle) * 26, std::sin(angle) * 19));
    }
    painter.restore();
}

}  // namespace

QImage PaintReef() {
    QImage image = Canvas(kPictureWidth, kPictureHeight);
    QPainter painter(&image);
    Smooth(painter);
    SeededRandom random(0x52454546ull);

    PaintWater(painter, random);
    PaintAnchoredBoat(painter);
    PaintJelly(painter, QPointF(352, 42), 26, QColor(250, 140, 200));
    PaintJelly(painter, QPointF(44, 58), 16, QColor(190, 150, 255));

    // A school of small silver fish across the open water.
    for (int i = 0; i < 22; ++i) {
        const QPointF at(150 + (i % 7) * 19 + random.Uniform(-5, 5),
                         46 + (i / 7) * 15 + random.Uniform(-4, 4) + (i % 7) * 2);
        PaintFish(painter, at, 14, false,
                  {QColor(200, 220, 236), QColor(150, 180, 210), QColor(120, 150, 200), 1});
    }
    PaintKelp(painter, 16, 110, QColor(60, 150, 80), 0.0);
    PaintKelp(painter, 34, 150, QColor(90, 170, 70), 1.5);
    PaintKelp(painter, 388, 96, QColor(50, 140, 90), 0.8);
    PaintKelp(painter, 372, 160, QColor(100, 180, 80), 2.6);
    PaintKelp(painter, 206, 190, QColor(70, 160, 100), 1.1);

    PaintSand(painter, random);
    PaintFan(painter, QPointF(262, 262), 52, QColor(240, 120, 80));
    PaintBranchCoral(painter, random, QPointF(66, 272), QColor(232, 72, 96), 20);
    PaintBranchCoral(painter, random, QPointF(356, 266), QColor(160, 88, 210), 18);
    PaintBrainCoral(painter, QPointF(178, 282), 28);
    PaintAnemone(painter, QPointF(120, 288), QColor(250, 120, 170));
    PaintTubes(painter, QPointF(316, 268));
    PaintAnemone(painter, QPointF(226, 292), QColor(120, 220, 200));

    PaintRay(painter, QPointF(150, 112), 110);
    PaintSeahorse(painter, QPointF(104, 156), QColor(250, 190, 60));
    PaintTurtle(painter, QPointF(192, 176), 62);
    PaintFish(painter, QPointF(140, 206), 34, false,
              {QColor(250, 120, 30), QColor(240, 90, 20), QColor(255, 255, 255), 3});
    PaintFish(painter, QPointF(290, 150), 44, true,
              {QColor(40, 90, 220), QColor(250, 210, 50), QColor(20, 40, 120), 1});
    PaintFish(painter, QPointF(80, 120), 28, false,
              {QColor(250, 220, 60), QColor(240, 180, 40), QColor(250, 240, 140), 0});
    PaintFish(painter, QPointF(338, 98), 34, true,
              {QColor(250, 240, 200), QColor(40, 40, 60), QColor(30, 30, 50), 3});
    PaintFish(painter, QPointF(232, 222), 30, true,
              {QColor(180, 100, 230), QColor(250, 200, 60), QColor(250, 200, 60), 0});
    PaintFish(painter, QPointF(40, 200), 26, true,
              {QColor(40, 200, 170), QColor(30, 150, 140), QColor(240, 250, 120), 2});
    PaintFish(painter, QPointF(370, 214), 24, true,
              {QColor(240, 70, 80), QColor(200, 40, 60), QColor(255, 200, 200), 1});
    PaintFish(painter, QPointF(196, 128), 22, false,
              {QColor(250, 150, 200), QColor(230, 100, 170), QColor(255, 255, 255), 0});

    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < 46; ++i) {
        const double column = i % 3 == 0 ? 150 : (i % 3 == 1 ? 300 : 60);
        const QPointF at(column + random.Uniform(-12, 12), random.Uniform(10, 250));
        const double radius = random.Uniform(1.2, 4);
        painter.setPen(QPen(QColor(230, 250, 255, 190), 0.9));
        painter.drawEllipse(at, radius, radius);
    }
    return image;
}
