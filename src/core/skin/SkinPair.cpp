#include "core/skin/SkinPair.h"

#include <algorithm>

#include "core/package/ImagePackage.h"
#include "core/picture/PictureSize.h"
#include "core/text/Translation.h"

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
            problems.push_back({name, Tr("missing from the 2x skin")});
            continue;
        }
        const std::optional<layout::Size> size = StatedSize(skin.FindData(name));
        const std::optional<layout::Size> size2x = StatedSize(skin2x.FindData(name));
        if (!size2x) {
            problems.push_back({name, Tr("undecodable in the 2x skin")});
        } else if (size &&
                   (size2x->width != size->width * 2 || size2x->height != size->height * 2)) {
            // TRANSLATORS: sizes as WIDTHxHEIGHT: what the 2x picture has, what it should have
            problems.push_back({name, Substitute(Tr("%1 in the 2x skin, expected %2"),
                                                 {SizeText(*size2x),
                                                  SizeText({size->width * 2, size->height * 2})})});
        }
    }
    for (const std::string& name : names2x) {
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            problems.push_back({name, Tr("only in the 2x skin")});
        }
    }
    return problems;
}
