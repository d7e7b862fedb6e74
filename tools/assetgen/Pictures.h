#pragma once

#include <QImage>

#include "NamedImage.h"
#include "core/layout/SkinLayout.h"

inline constexpr int kPictureWidth = layout::kPictureSize.width;
inline constexpr int kPictureHeight = layout::kPictureSize.height;

// The library the game ships with, in library order; the first is played at start.
NamedImages PaintPuzzlePictures();

// Each picture, 400 by 300, busy in colour and shape all over, so that even the
// 50 by 50 tiles of the largest board tell where they belong.
QImage PaintHarbour();
QImage PaintMeadow();
QImage PaintReef();
QImage PaintBalloons();
QImage PaintSkyline();
QImage PaintMountains();
QImage PaintMosaic();
QImage PaintCosmos();
// Every tile of the 6 by 8 board numbered 1 to 48, reading order.
QImage PaintNumbers();
