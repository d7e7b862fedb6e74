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
    const std::vector<std::uint8_t>* data = App()->m_skinPackage.FindData(name);
    if (data == nullptr) return nullptr;
    const std::vector<std::uint8_t>* data2x = App()->m_skinPackage2x.FindData(name);
    return SkinImage::CreateFromBytes(*data, data2x != nullptr
                                                 ? std::span<const std::uint8_t>(*data2x)
                                                 : std::span<const std::uint8_t>());
}

void SetUpHolder(ImageHolder& holder, const layout::HolderLayout& layout) {
    holder.SetImage(ToQRect(layout.rect), GetSkinImage(layout.picture));
}
