#include "core/skin/SkinPair.h"

#include <algorithm>
#include <filesystem>

#include "core/package/ImagePackage.h"
#include "core/picture/PictureSize.h"

namespace {

std::optional<layout::Size> StatedSize(const std::vector<std::uint8_t>* bytes) {
    return bytes != nullptr ? StatedPictureSize(*bytes) : std::nullopt;
}

}  // namespace

std::vector<SkinPairProblem> CompareSkins(const ImagePackage& skin, const ImagePackage& other,
                                          const SkinCompanion& companion) {
    std::vector<std::string> names;
    std::vector<std::string> otherNames;
    skin.GetNames(names);
    other.GetNames(otherNames);
    const std::string in = std::string(" in ") + companion.called;
    std::vector<SkinPairProblem> problems;
    for (const std::string& name : names) {
        if (std::find(otherNames.begin(), otherNames.end(), name) == otherNames.end()) {
            if (companion.wholeSkin) problems.push_back({name, "missing from" + in.substr(3)});
            continue;
        }
        const std::optional<layout::Size> size = StatedSize(skin.FindData(name));
        const std::optional<layout::Size> otherSize = StatedSize(other.FindData(name));
        const int scale = companion.scale;
        if (!otherSize) {
            problems.push_back({name, "undecodable" + in});
        } else if (size && (otherSize->width != size->width * scale ||
                            otherSize->height != size->height * scale)) {
            problems.push_back({name, SizeText(*otherSize) + in + ", expected " +
                                          SizeText({size->width * scale, size->height * scale})});
        }
    }
    for (const std::string& name : otherNames) {
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            problems.push_back({name, "only" + in});
        }
    }
    return problems;
}

std::string DroppedCompanionMessage(const std::string& skinFile, const std::string& otherFile,
                                    const SkinCompanion& companion,
                                    const std::vector<SkinPairProblem>& problems) {
    const auto fileName = [](const std::string& path) {
        return std::filesystem::path(path).filename().string();
    };
    std::string message = fileName(otherFile) + " does not match " + fileName(skinFile) + ", so " +
                          companion.otherwise + ": " + problems.front().name + ": " +
                          problems.front().problem;
    if (problems.size() > 1) message += " (and " + std::to_string(problems.size() - 1) + " more)";
    return message;
}
