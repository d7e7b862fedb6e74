#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "PaintKit.h"
#include "Pictures.h"
#include "SeededRandom.h"

// Hot-air balloons rising over a patchwork of fields on a clear morning.
namespace {

constexpr double kLand = 206;

void PaintSky(QPainter& painter, SeededRandom& random) {
    const QRectF sky(0, 0, kPictureWidth, kLand + 10);
    QLinearGradient fall(sky.topLeft(), sky.bottomLeft());
    fall.setColorAt(0.0, QColor(40, 110, 200));
    fall.setColorAt(0.6, QColor(140, 196, 240));
    fall.setColorAt(1.0, QColor(255, 222, 176));
    painter.fillRect(sky, fall);
    QLinearGradient side(sky.topLeft(), sky.topRight());
    side.setColorAt(0.0, QColor(255, 200, 150, 80));
    side.setColorAt(0.6, QColor(255, 200, 150, 0));
    side.setColorAt(1.0, QColor(60, 40, 160, 50));
    painter.fillRect(sky, side);
    PaintGlow(painter, QPointF(40, 176), 120, QColor(255, 240, 190, 200));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 246, 210));
    painter.drawEllipse(QPointF(40, 176), 18, 18);

    PaintCloud(painter, random, QPointF(160, 110), 70, QColor(255, 255, 255, 230),
               QColor(210, 220, 240, 200));
    PaintCloud(painter, random, QPointF(370, 168), 80, QColor(255, 246, 236, 230),
               QColor(220, 200, 210, 200));
    PaintCloud(painter, random, QPointF(40, 40), 60, QColor(255, 255, 255, 220),
               QColor(200, 214, 240, 200));
    PaintCloud(painter, random, QPointF(250, 14), 70, QColor(255, 255, 255, 220),
               QColor(200, 214, 240, 200));
    PaintCloud(painter, random, QPointF(300, 94), 44, QColor(255, 255, 255, 200),
               QColor(200, 214, 240, 180));
    PaintCloud(painter, random, QPointF(336, 44), 40, QColor(255, 255, 255, 210),
               QColor(200, 214, 240, 190));
    PaintCloud(painter, random, QPointF(386, 90), 36, QColor(255, 255, 255, 210),
               QColor(200, 214, 240, 190));
    PaintCloud(painter, random, QPointF(120, 150), 40, QColor(255, 250, 240, 210),
               QColor(220, 210, 220, 190));
}

void PaintFields(QPainter& painter, SeededRandom& random) {
    painter.setPen(Qt::NoPen);
    {
        SeededRandom shape(5);
        painter.setBrush(QColor(130, 120, 180));
        painter.drawPath(Ridge(shape, kPictureWidth, kLand - 6, 8, 6, kLand + 20));
        painter.setBrush(QColor(110, 150, 160));
        painter.drawPath(Ridge(shape, kPictureWidth, kLand + 4, 5, 8, kLand + 20));
    }
    const QColor crops[] = {{122, 180, 70}, {232, 200, 80}, {170, 140, 210}, {200, 150, 80},
                            {246, 170, 60}, {150, 200, 90}, {226, 110, 90},  {240, 226, 150},
                            {90, 160, 80},  {206, 120, 180}};
    int crop = 0;
    // Field edges run towards a point above the horizon, so neighbours always meet.
    auto toward = [](double x, double fromY, double toY) {
        constexpr double kVanish = 120;
        return 200 + (x - 200) * (toY - kVanish) / (fromY - kVanish);
    };
    double top = kLand + 8;
    int row = 0;
    while (top < kPictureHeight) {
        const double bottom = top + 6 + row * 5.5;
        double x = -30 - random.Uniform(0, 40);
        while (x < kPictureWidth + 30) {
            const double right = x + random.Uniform(30, 70);
            QPainterPath field;
            field.moveTo(x, top);
            field.lineTo(right, top);
            field.lineTo(toward(right, top, bottom), bottom);
            field.lineTo(toward(x, top, bottom), bottom);
            field.closeSubpath();
            // Never the same crop twice side by side.
            crop = (crop + 1 + random.Below(9)) % 10;
            const double light = 0.9 + (x / kPictureWidth) * 0.2;
            painter.setBrush(Hsv(crops[crop].hsvHue(), crops[crop].hsvSaturationF(),
                                 crops[crop].valueF() * light));
            painter.setPen(QPen(QColor(60, 110, 50), 0.6 + row * 0.35));
            painter.drawPath(field);
            if (random.Chance(0.5)) {
                painter.setPen(QPen(crops[crop].darker(125), 0.6 + row * 0.2));
                for (double s = 0.2; s < 1; s += 0.2) {
                    const double at = x + (right - x) * s;
                    painter.drawLine(QPointF(at, top), QPointF(toward(at, top, bottom), bottom));
                }
            }
            x = right;
        }
        top = bottom;
        ++row;
    }

    // A river winding through the fields, with trees along the hedges.
    QPainterPath river;
    river.moveTo(150, kLand + 8);
    river.cubicTo(190, 236, 90, 250, 150, 302);
    painter.setPen(QPen(QColor(90, 170, 220), 7.0, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(river);
    painter.setPen(QPen(QColor(170, 220, 250), 2.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(river);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 40; ++i) {
        const double y = kLand + 10 + std::pow(random.Uniform(0, 1), 1.5) * 90;
        const double radius = 1.5 + (y - kLand) * 0.06;
        const QPointF at(random.Uniform(0, kPictureWidth), y);
        painter.setBrush(QColor(40, 100, 50));
        painter.drawEllipse(at, radius, radius);
        painter.setBrush(QColor(80, 140, 60));
        painter.drawEllipse(at - QPointF(radius * 0.3, radius * 0.3), radius * 0.5, radius * 0.5);
    }
    // A village church steeple and a few roofs.
    painter.setBrush(QColor(240, 236, 226));
    painter.drawRect(QRectF(300, kLand - 6, 6, 18));
    painter.setBrush(QColor(180, 70, 60));
    QPainterPath spire;
    spire.moveTo(299, kLand - 6);
    spire.lineTo(303, kLand - 18);
    spire.lineTo(307, kLand - 6);
    painter.drawPath(spire);
    for (int i = 0; i < 5; ++i) {
        painter.setBrush(QColor(246, 240, 230));
        painter.drawRect(QRectF(280 + i * 9, kLand + 4 - (i % 2) * 2, 7, 6));
        painter.setBrush(QColor(196, 80, 60));
        painter.drawRect(QRectF(279 + i * 9, kLand + 2 - (i % 2) * 2, 9, 2.5));
    }
}

struct BalloonLook {
    QColor first;
    QColor second;
    QColor band;
};

void PaintBalloon(QPainter& painter, QPointF centre, double radius, const BalloonLook& look) {
    painter.save();
    painter.translate(centre);
    const double r = radius;

    QPainterPath envelope;
    envelope.moveTo(-r * 0.32, r * 1.05);
    envelope.cubicTo(-r * 0.6, r * 0.7, -r * 1.02, r * 0.3, -r, 0);
    envelope.cubicTo(-r, -r * 0.62, -r * 0.55, -r, 0, -r);
    envelope.cubicTo(r * 0.55, -r, r, -r * 0.62, r, 0);
    envelope.cubicTo(r * 1.02, r * 0.3, r * 0.6, r * 0.7, r * 0.32, r * 1.05);
    envelope.closeSubpath();

    painter.setPen(QPen(QColor(90, 60, 40), std::max(0.6, r * 0.02)));
    painter.drawLine(QPointF(-r * 0.3, r * 1.05), QPointF(-r * 0.15, r * 1.35));
    painter.drawLine(QPointF(r * 0.3, r * 1.05), QPointF(r * 0.15, r * 1.35));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(150, 100, 60));
    painter.drawRoundedRect(QRectF(-r * 0.17, r * 1.33, r * 0.34, r * 0.24), r * 0.04, r * 0.04);

    painter.setClipPath(envelope);
    painter.fillRect(QRectF(-r * 1.1, -r * 1.1, r * 2.2, r * 2.3), look.first);
    const int gores = 8;
    painter.setBrush(look.second);
    for (int i = 0; i < gores; i += 2) {
        const double a0 = -M_PI / 2 + M_PI * i / gores;
        const double a1 = -M_PI / 2 + M_PI * (i + 1) / gores;
        QPainterPath gore;
        gore.moveTo(0, -r);
        gore.cubicTo(std::sin(a0) * r * 1.3, -r * 0.4, std::sin(a0) * r * 1.3, r * 0.5, 0, r * 1.1);
        gore.cubicTo(std::sin(a1) * r * 1.3, r * 0.5, std::sin(a1) * r * 1.3, -r * 0.4, 0, -r);
        painter.drawPath(gore);
    }
    painter.setBrush(look.band);
    painter.drawRect(QRectF(-r * 1.1, r * 0.42, r * 2.2, r * 0.16));
    QRadialGradient light(QPointF(-r * 0.4, -r * 0.45), r * 1.6);
    light.setColorAt(0.0, QColor(255, 255, 255, 90));
    light.setColorAt(0.5, QColor(255, 255, 255, 0));
    light.setColorAt(1.0, QColor(20, 20, 60, 110));
    painter.setBrush(light);
    painter.drawRect(QRectF(-r * 1.1, -r * 1.1, r * 2.2, r * 2.3));
    painter.restore();
}

}  // namespace

QImage PaintBalloons() {
    QImage image = Canvas(kPictureWidth, kPictureHeight);
    QPainter painter(&image);
    Smooth(painter);
    SeededRandom random(0x42414C4Cull);

    PaintSky(painter, random);
    PaintFields(painter, random);

    PaintBalloon(painter, QPointF(170, 24), 8,
                 {QColor(250, 210, 60), QColor(230, 60, 60), QColor(250, 250, 250)});
    PaintBalloon(painter, QPointF(288, 36), 13,
                 {QColor(90, 200, 120), QColor(250, 250, 240), QColor(240, 80, 60)});
    painter.setPen(QPen(QColor(50, 50, 80), 1.3, Qt::SolidLine, Qt::RoundCap));
    for (const QPointF& bird : {QPointF(318, 72), QPointF(330, 64), QPointF(343, 74),
                                QPointF(116, 18), QPointF(128, 26), QPointF(140, 16)}) {
        painter.drawLine(bird + QPointF(-5, -2), bird);
        painter.drawLine(bird, bird + QPointF(5, -2));
    }
    PaintBalloon(painter, QPointF(370, 28), 17,
                 {QColor(250, 120, 170), QColor(250, 230, 110), QColor(90, 80, 200)});
    PaintBalloon(painter, QPointF(30, 150), 14,
                 {QColor(250, 170, 40), QColor(120, 60, 170), QColor(250, 250, 250)});
    PaintBalloon(painter, QPointF(226, 176), 11,
                 {QColor(60, 180, 220), QColor(250, 120, 60), QColor(250, 230, 90)});
    PaintBalloon(painter, QPointF(170, 172), 20,
                 {QColor(150, 90, 220), QColor(250, 250, 250), QColor(250, 190, 50)});
    PaintBalloon(painter, QPointF(94, 80), 38,
                 {QColor(230, 50, 60), QColor(255, 214, 60), QColor(40, 80, 180)});
    PaintBalloon(painter, QPointF(222, 66), 30,
                 {QColor(30, 110, 200), QColor(250, 250, 250), QColor(240, 60, 60)});
    PaintBalloon(painter, QPointF(330, 136), 42,
                 {QColor(40, 170, 110), QColor(250, 140, 40), QColor(250, 240, 200)});
    return image;
}
