#pragma once

#include <memory>
#include <string>

#include "skin/SkinImage.h"

class ImagePackage;

// A new image decoded from the first entry of that name, owned by the caller; null when the
// package has no such entry. An entry that does not decode gives a 0 x 0 image, not null.
std::unique_ptr<SkinImage> GetImage(const ImagePackage& package, const std::string& name);
