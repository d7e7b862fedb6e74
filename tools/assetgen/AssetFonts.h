#pragma once

#include <QFont>

// Registers the two faces every generated picture is lettered in, from their files,
// so the output never depends on what fonts a machine prefers.
// Throws std::runtime_error when a file is missing or unusable.
void LoadAssetFonts();

// The face at an exact pixel size.
QFont AssetFont(int pixelSize, bool bold);

// The largest size up to maxSize, down to 8, at which text fits width.
QFont FittingFont(const QString& text, double width, int maxSize, bool bold);
