#include "skin/PackageImage.h"

#include "core/package/ImagePackage.h"

std::unique_ptr<SkinImage> GetImage(const ImagePackage& package, const std::string& name) {
    const std::vector<std::uint8_t>* data = package.FindData(name);
    if (data == nullptr) return nullptr;
    return SkinImage::CreateFromBytes(*data);
}
