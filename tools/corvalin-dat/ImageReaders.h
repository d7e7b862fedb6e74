#pragma once

#include <cstdint>
#include <string>
#include <vector>

// "WIDTHxHEIGHT" of a package's picture (JPEG, or a bitmap) as it decodes, or "?" when it does
// not.
std::string PictureSizeText(const std::vector<std::uint8_t>& bytes);
