#pragma once

#include <QString>
#include <string>

#include "core/library/ImportedPicture.h"

// Turning a player's image file into a library picture, the part that needs the image
// readers: the conversion that the picture library (core/library/PictureLibrary.h) is given,
// and what the player is told about a refusal.

// A PictureConverter. Changes nothing but a private scratch directory that is gone again when
// it returns. A file that is no whole image (DecodeStretched): InvalidFile. Otherwise the image
// stretched to 400 x 300 is written as a 24-bit bitmap file, that file is decoded again and
// saved as a JPEG of the default quality, and the JPEG file is read back whole and must decode
// to 400 x 300; any failure there: NotConverted, with the file and the cause as detail.
ImportedPicture ConvertPicture(const std::string& path);

// What the player is told about a refusal (lines separated by '\n'); empty when accepted.
QString RefusalMessage(const ImportedPicture& picture);
