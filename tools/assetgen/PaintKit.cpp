#include "PaintKit.h"

#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "SeededRandom.h"
#include "res/ProgramIcon.h"

QColor Mix(const QColor& from, const QColor& to, double amount) {
    const double t = std::clamp(amount, 0.0, 1.0);
    auto channel = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()), channel(from.alpha(), to.alpha()));
}

QColor WithAlpha(QColor color, int alpha) {
    color.setAlpha(alpha);
    return color;
}

QColor Hsv(double hueDegrees, double saturation, double value, int alpha) {
    const double hue = std::fmod(std::fmod(hueDegrees, 360.0) + 360.0, 360.0);
    return QColor::fromHsvF(
        static_cast<float>(hue / 360.0), static_cast<float>(std::clamp(saturation, 0.0, 1.0)),
        static_cast<float>(std::clamp(value, 0.0, 1.0)), static_cast<float>(alpha / 255.0));
}

QImage Canvas(int width, int height, const QColor& fill, int scale) {
    QImage image(width * scale, height * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(fill);
    return image;
}

QImage Piece(const QImage& canvas, QPoint topLeft, QSize size) {
    const auto scale = static_cast<int>(canvas.devicePixelRatio());
    QImage piece = canvas.copy(QRect(topLeft * scale, size * scale));
    piece.setDevicePixelRatio(scale);
    return piece;
}

QImage IconAt(int size, int scale) {
    QImage icon = PaintProgramIcon(size * scale);
    icon.setDevicePixelRatio(scale);
    return icon;
}

void Smooth(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

QPainterPath Ridge(SeededRandom& random, double width, double baseY, double roughness, int points,
                   double bottom) {
    QPainterPath path;
    path.moveTo(-10, bottom);
    QPointF previous(-10, baseY + random.Uniform(-roughness, roughness));
    path.lineTo(previous);
    for (int i = 1; i <= points; ++i) {
        const QPointF next(-10 + (width + 20) * i / points,
                           baseY + random.Uniform(-roughness, roughness));
        const double midX = (previous.x() + next.x()) / 2;
        path.cubicTo(QPointF(midX, previous.y()), QPointF(midX, next.y()), next);
        previous = next;
    }
    path.lineTo(width + 10, bottom);
    path.closeSubpath();
    return path;
}

void PaintCloud(QPainter& painter, SeededRandom& random, QPointF centre, double width,
                const QColor& light, const QColor& shade) {
    const int puffs = 7;
    const std::uint64_t seed = random.Next();
    painter.save();
    painter.setPen(Qt::NoPen);
    for (int pass = 0; pass < 2; ++pass) {
        SeededRandom shape(seed);
        for (int i = 0; i < puffs; ++i) {
            const double t = (i + 0.5) / puffs;
            const double radius =
                width * (0.12 + 0.14 * std::sin(t * M_PI)) * shape.Uniform(0.8, 1.15);
            const QPointF at(
                centre.x() + (t - 0.5) * width * 0.8,
                centre.y() - radius * 0.35 * std::sin(t * M_PI) + shape.Uniform(-2, 2));
            if (pass == 0) {
                painter.setBrush(shade);
                painter.drawEllipse(at + QPointF(0, radius * 0.25), radius, radius * 0.8);
            } else {
                QRadialGradient lit(at - QPointF(0, radius * 0.4), radius * 1.2);
                lit.setColorAt(0.0, light);
                lit.setColorAt(1.0, Mix(light, shade, 0.6));
                painter.setBrush(lit);
                painter.drawEllipse(at, radius * 0.92, radius * 0.72);
            }
        }
    }
    painter.restore();
}

void PaintFlower(QPainter& painter, QPointF centre, double radius, const QColor& petal,
                 const QColor& heart) {
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(petal);
    for (int i = 0; i < 5; ++i) {
        const double angle = i * 2 * M_PI / 5 - M_PI / 2;
        const QPointF at = centre + QPointF(std::cos(angle), std::sin(angle)) * radius * 0.55;
        painter.drawEllipse(at, radius * 0.5, radius * 0.5);
    }
    painter.setBrush(heart);
    painter.drawEllipse(centre, radius * 0.32, radius * 0.32);
    painter.restore();
}

void PaintGlow(QPainter& painter, QPointF centre, double radius, const QColor& color) {
    QRadialGradient glow(centre, radius);
    glow.setColorAt(0.0, color);
    glow.setColorAt(1.0, WithAlpha(color, 0));
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(centre, radius, radius);
    painter.restore();
}

void PaintTwinkle(QPainter& painter, QPointF centre, double radius, const QColor& color) {
    painter.save();
    PaintGlow(painter, centre, radius * 0.6, WithAlpha(color, 160));
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    QPainterPath star;
    star.moveTo(centre + QPointF(0, -radius));
    star.quadTo(centre, centre + QPointF(radius, 0));
    star.quadTo(centre, centre + QPointF(0, radius));
    star.quadTo(centre, centre + QPointF(-radius, 0));
    star.quadTo(centre, centre + QPointF(0, -radius));
    painter.drawPath(star);
    painter.restore();
}
