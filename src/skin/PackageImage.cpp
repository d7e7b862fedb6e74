#include "skin/PackageImage.h"

#include "core/layout/SkinLayout.h"
#include "core/package/ImagePackage.h"
#include "core/state/AppState.h"
#include "skin/EdgeRect.h"
#include "skin/ImageHolder.h"

std::unique_ptr<SkinImage> GetImage(const ImagePackage& package, const std::string& name) {
    const std::vector<std::uint8_t>* data = package.FindData(name);
    if (data == nullptr) return nullptr;
    return SkinImage::CreateFromBytes(*data);
}

std::unique_ptr<SkinImage> GetSkinImage(const std::string& name) {
    const std::vector<std::uint8_t>* data = App()->SkinPackageFor(name, false).FindData(name);
    if (data == nullptr) return nullptr;
    // Read from the 2x skin only when first drawn above a scale of 1: the skin stays loaded for
    // the whole run, and at 1 its pictures would be memory for nothing.
    return SkinImage::CreateFromBytes(*data, [name]() {
        const std::vector<std::uint8_t>* data2x = App()->SkinPackageFor(name, true).FindData(name);
        return data2x != nullptr ? QByteArray(reinterpret_cast<const char*>(data2x->data()),
                                              static_cast<qsizetype>(data2x->size()))
                                 : QByteArray();
    });
}

void SetUpHolder(ImageHolder& holder, const layout::HolderLayout& layout) {
    holder.SetImage(ToQRect(layout.rect), GetSkinImage(layout.picture));
}
