#include "core/skin/SkinPair.h"

#include <algorithm>
#include <filesystem>

#include "core/package/ImagePackage.h"
#include "core/picture/PictureSize.h"

namespace {

std::optional<layout::Size> StatedSize(const std::vector<std::uint8_t>* bytes) {
    return bytes != nullptr ? StatedPictureSize(*bytes) : std::nullopt;
}

std::string FileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

}  // namespace

std::vector<SkinPairProblem> CompareSkins(const ImagePackage& skin, const ImagePackage& other,
                                          const SkinCompanion& companion) {
    using enum SkinPairProblem::Kind;
    std::vector<std::string> names;
    std::vector<std::string> otherNames;
    skin.GetNames(names);
    other.GetNames(otherNames);
    std::vector<SkinPairProblem> problems;
    for (const std::string& name : names) {
        if (std::find(otherNames.begin(), otherNames.end(), name) == otherNames.end()) {
            if (companion.wholeSkin) problems.push_back({name, Missing});
            continue;
        }
        const std::optional<layout::Size> size = StatedSize(skin.FindData(name));
        const std::optional<layout::Size> otherSize = StatedSize(other.FindData(name));
        const int scale = companion.scale;
        if (!otherSize) {
            problems.push_back({name, Undecodable});
        } else if (size && (otherSize->width != size->width * scale ||
                            otherSize->height != size->height * scale)) {
            problems.push_back(
                {name, WrongSize, *otherSize, {size->width * scale, size->height * scale}});
        }
    }
    for (const std::string& name : otherNames) {
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            problems.push_back({name, Extra});
        }
    }
    return problems;
}

std::string SkinPairProblemText(const SkinPairProblem& problem, const SkinPairTexts& texts,
                                const std::string& otherFile) {
    const char* text = nullptr;
    switch (problem.kind) {
        case SkinPairProblem::Kind::Missing:
            text = texts.missing;
            break;
        case SkinPairProblem::Kind::Undecodable:
            text = texts.undecodable;
            break;
        case SkinPairProblem::Kind::WrongSize:
            text = texts.wrongSize;
            break;
        case SkinPairProblem::Kind::Extra:
            text = texts.extra;
            break;
    }
    return Substitute(Tr(text),
                      {FileName(otherFile), SizeText(problem.size), SizeText(problem.expected)});
}

std::string DroppedCompanionMessage(const std::string& skinFile, const std::string& otherFile,
                                    const SkinCompanion& companion,
                                    const std::vector<SkinPairProblem>& problems) {
    const std::size_t more = problems.size() - 1;
    const char* text =
        more == 0 ? Tr(companion.dropped)
                  : TrN(companion.droppedMore.singular, companion.droppedMore.plural, more);
    return Substitute(text, {FileName(otherFile), FileName(skinFile), problems.front().name,
                             SkinPairProblemText(problems.front(), companion.problems, otherFile),
                             std::to_string(more)});
}
