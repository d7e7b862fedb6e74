#include "core/skin/SkinPair.h"

#include <algorithm>

#include "core/package/ImagePackage.h"
#include "core/picture/PictureSize.h"

namespace {

std::optional<layout::Size> StatedSize(const std::vector<std::uint8_t>* bytes) {
    return bytes != nullptr ? StatedPictureSize(*bytes) : std::nullopt;
}

}  // namespace

std::vector<SkinPairProblem> CompareSkinAt2x(const ImagePackage& skin, const ImagePackage& skin2x) {
    std::vector<std::string> names;
    std::vector<std::string> names2x;
    skin.GetNames(names);
    skin2x.GetNames(names2x);
    std::vector<SkinPairProblem> problems;
    for (const std::string& name : names) {
        if (std::find(names2x.begin(), names2x.end(), name) == names2x.end()) {
            problems.push_back({name, "missing from the 2x skin"});
            continue;
        }
        const std::optional<layout::Size> size = StatedSize(skin.FindData(name));
        const std::optional<layout::Size> size2x = StatedSize(skin2x.FindData(name));
        if (!size2x) {
            problems.push_back({name, "undecodable in the 2x skin"});
        } else if (size &&
                   (size2x->width != size->width * 2 || size2x->height != size->height * 2)) {
            problems.push_back({name, SizeText(*size2x) + " in the 2x skin, expected " +
                                          SizeText({size->width * 2, size->height * 2})});
        }
    }
    for (const std::string& name : names2x) {
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            problems.push_back({name, "only in the 2x skin"});
        }
    }
    return problems;
}
