#pragma once

#include <memory>
#include <string>

#include "skin/SkinImage.h"

class ImagePackage;

// A new image decoded from the first entry of that name, owned by the caller; null when the
// package has no such entry. An entry that does not decode gives a 0 x 0 image, not null.
std::unique_ptr<SkinImage> GetImage(const ImagePackage& package, const std::string& name);

// The skin's picture of that name, from the player's language package where that holds it,
// with its 2x picture where there is one; null when the skin has no such picture.
std::unique_ptr<SkinImage> GetSkinImage(const std::string& name);

class ImageHolder;
namespace layout {
struct HolderLayout;
}

// Gives the holder its rectangle and its picture from the skin package; a picture missing
// from the skin leaves the holder as it was.
void SetUpHolder(ImageHolder& holder, const layout::HolderLayout& layout);
