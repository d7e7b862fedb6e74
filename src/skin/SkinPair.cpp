#include "skin/SkinPair.h"

#include <algorithm>

#include "core/package/ImagePackage.h"
#include "skin/SkinImage.h"

namespace {

QSize StatedSize(const std::vector<std::uint8_t>* bytes) {
    return bytes != nullptr ? StatedPictureSize(*bytes) : QSize();
}

std::string SizeText(QSize size) {
    return std::to_string(size.width()) + "x" + std::to_string(size.height());
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
        const QSize size = StatedSize(skin.FindData(name));
        const QSize size2x = StatedSize(skin2x.FindData(name));
        if (!size2x.isValid()) {
            problems.push_back({name, "undecodable in the 2x skin"});
        } else if (size.isValid() && size2x != size * 2) {
            problems.push_back(
                {name, SizeText(size2x) + " in the 2x skin, expected " + SizeText(size * 2)});
        }
    }
    for (const std::string& name : names2x) {
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            problems.push_back({name, "only in the 2x skin"});
        }
    }
    return problems;
}
