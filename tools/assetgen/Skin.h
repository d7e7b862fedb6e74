#pragma once

#include "NamedImage.h"

struct Lettering;

// Every picture of the default skin, named as the windows look them up, painted at a scale of
// 1 (Skin.dat) or 2 (Skin@2x.dat: each picture twice as wide and tall), its words lettered as
// lettering says; the pictures with words are marked lettered.
NamedImages PaintSkin(int scale, const Lettering& lettering);
