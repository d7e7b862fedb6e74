#pragma once

#include <QColor>
#include <QPainter>
#include <QPointF>

#include "SkinParts.h"

// Small line icons for the buttons, each drawn in one colour with its top-left at origin.

// 16 by 16.
void PaintSectionGlyph(QPainter& painter, QPointF origin, SectionIcon icon, const QColor& color);
// 12 by 12.
void PaintActionGlyph(QPainter& painter, QPointF origin, ActionIcon icon, const QColor& color);
// 16 by 14.
void PaintLinkGlyph(QPainter& painter, QPointF origin, LinkIcon icon, const QColor& color);
// 8 by 8, centred on centre.
void PaintCaptionGlyph(QPainter& painter, QPointF centre, CaptionGlyph glyph, const QColor& color);
