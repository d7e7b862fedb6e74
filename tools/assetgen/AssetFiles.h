#pragma once

#include <filesystem>

// Paints the default look and writes Skin.dat, Pic.dat, an empty Score.dat and the
// program icon corvalin.png into directory. Throws std::exception on any failure,
// including a skin that lacks a required picture or has one of the wrong size.
void WriteAssetFiles(const std::filesystem::path& directory);
