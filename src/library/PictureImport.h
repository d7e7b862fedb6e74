#pragma once

#include <QString>

#include "core/library/PictureConversion.h"

// What the player is told about a refusal (RefusalText, PictureConversion.h), as the panel and
// its message boxes show it.
QString RefusalMessage(const ImportedPicture& picture);
