#pragma once

#include "NamedImage.h"

// Every picture of the default skin, named as the windows look them up.
NamedImages PaintSkin();
