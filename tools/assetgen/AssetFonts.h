#pragma once

#include <QFont>
#include <QString>

// Registers the faces every generated picture is lettered in, from their files, so the output
// never depends on what fonts a machine prefers: DejaVu Sans, and Noto Sans CJK for the
// languages it covers. Throws std::runtime_error when a file is missing or unusable.
void LoadAssetFonts();

// The face pictures are lettered in unless a language's catalogue names another.
QString DefaultAssetFamily();
// Whether LoadAssetFonts registered a face of that family.
bool IsAssetFamily(const QString& family);

// The face at an exact pixel size.
QFont AssetFont(int pixelSize, bool bold, const QString& family = DefaultAssetFamily());
