#pragma once

#include <filesystem>

// The icon theme sizes desktops ask for, as installed under hicolor/NxN/apps.
inline constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256, 512};

// Paints the default look and writes Skin.dat, Skin@2x.dat, Pic.dat, an empty Score.dat and
// the program icon corvalin-N.png at every size above into directory; and for each language
// poDirectory's LINGUAS lists, the skin's pictures with words lettered from its catalogue
// LANG.po, as the language packages Skin.LANG.dat and Skin@2x.LANG.dat. Throws std::exception on
// any failure, including a skin that lacks a required picture or has one of the wrong size, and
// a label that does not fit its button.
void WriteAssetFiles(const std::filesystem::path& directory,
                     const std::filesystem::path& poDirectory);
