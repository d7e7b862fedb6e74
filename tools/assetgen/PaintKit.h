#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPoint>
#include <QPointF>
#include <QSize>

class SeededRandom;

// Drawing helpers shared by the generated pictures.

QColor Mix(const QColor& from, const QColor& to, double amount);
QColor WithAlpha(QColor color, int alpha);
QColor Hsv(double hueDegrees, double saturation, double value, int alpha = 255);

// A blank opaque canvas of width x height logical pixels, scale device pixels each: a painter
// on it draws in logical pixels at the canvas's full resolution.
QImage Canvas(int width, int height, const QColor& fill = Qt::black, int scale = 1);
// The logical rectangle (topLeft, size) of a canvas, as a canvas of its own at its scale.
QImage Piece(const QImage& canvas, QPoint topLeft, QSize size);
// The program's icon, size logical pixels square, painted at the scale.
QImage IconAt(int size, int scale);
// Smooth drawing: antialiased edges and filtered pictures.
void Smooth(QPainter& painter);

// A closed silhouette along the bottom of a width-wide area: a ridge around baseY
// that rises and falls by up to roughness, closed down to bottom.
QPainterPath Ridge(SeededRandom& random, double width, double baseY, double roughness, int points,
                   double bottom);

// A puffy cloud of overlapping discs, lit from above.
void PaintCloud(QPainter& painter, SeededRandom& random, QPointF centre, double width,
                const QColor& light, const QColor& shade);

// A five-petal flower seen from above.
void PaintFlower(QPainter& painter, QPointF centre, double radius, const QColor& petal,
                 const QColor& heart);

// A soft round glow that fades to nothing at radius.
void PaintGlow(QPainter& painter, QPointF centre, double radius, const QColor& color);

// A four-pointed twinkle for bright stars.
void PaintTwinkle(QPainter& painter, QPointF centre, double radius, const QColor& color);
