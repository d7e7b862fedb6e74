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

void SetUpHolder(ImageHolder& holder, const layout::HolderLayout& layout) {
    holder.SetImage(ToQRect(layout.rect), GetImage(App()->m_skinPackage, layout.picture));
}
