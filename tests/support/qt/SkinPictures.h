#pragma once

#include <QRgb>
#include <memory>

#include "skin/SkinImage.h"
#include "support/qt/TestImages.h"

namespace test {

// A skin picture of one colour, decoded as the skin decodes its entries.
inline std::unique_ptr<SkinImage> SolidPicture(int width, int height, QRgb colour) {
    return SkinImage::CreateFromBytes(SolidBmp(width, height, colour));
}

}  // namespace test
