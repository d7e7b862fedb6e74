// check-skin SKINFILE: tells a skin author what the game will miss or draw out of place.
#include <filesystem>
#include <iostream>

#include "Commands.h"
#include "SkinLanguageCheck.h"
#include "core/layout/SkinLayout.h"
#include "core/package/ImagePackage.h"
#include "core/picture/PictureSize.h"
#include "core/skin/SkinFiles.h"
#include "core/skin/SkinPair.h"
#include "core/text/Translation.h"

bool CheckPicturesWhole(const ImagePackage& skin, const std::string& damaged) {
    bool whole = true;
    for (const PackageEntry& entry : skin.Entries()) {
        if (!StatedPictureSize(entry.data) || PictureDecodesWhole(entry.data)) continue;
        std::cout << entry.name << '\t' << damaged << '\n';
        whole = false;
    }
    return whole;
}

namespace {

// Reports every way the 2x skin beside the skin fails to match it; true when none, or when
// there is no 2x skin at all (the game then draws the 1x pictures everywhere).
bool Check2x(const std::string& skinPath, const ImagePackage& skin) {
    const std::string path2x = SkinFileAt2x(skinPath);
    std::error_code ignored;
    if (!std::filesystem::exists(path2x, ignored)) return true;
    ImagePackage skin2x;
    if (!skin2x.Load(path2x)) {
        ReportError(path2x, skin2x.Damage().empty()
                                ? Tr("cannot be opened")
                                : Substitute(Tr("damaged: %1"), {skin2x.Damage()}));
        return false;
    }
    const std::vector<SkinPairProblem> problems = CompareSkins(skin, skin2x, kSkinAt2x);
    for (const SkinPairProblem& problem : problems) {
        std::cout << problem.name << '\t'
                  << SkinPairProblemText(problem, kSkinAt2x.problems, path2x) << '\n';
    }
    return CheckPicturesWhole(skin2x, Tr("damaged in the 2x skin")) && problems.empty();
}

}  // namespace

int CheckSkin(const Arguments& args) {
    if (args.size() != 1) return UsageError();
    ImagePackage skin;
    if (!skin.Load(args[0])) {
        ReportError(args[0], skin.Damage().empty()
                                 ? Tr("cannot be opened")
                                 : Substitute(Tr("damaged: %1"), {skin.Damage()}));
        if (skin.Damage().empty()) return kFailure;
    }
    bool complete = skin.Damage().empty();
    // A button draws its picture at the picture's own size, so a picture of another size
    // spills out of its place or leaves a gap.
    for (const layout::SkinPicture& required : layout::kSkinPictures) {
        const layout::Size want = required.PictureSize();
        const std::string expected = std::to_string(want.width) + "x" + std::to_string(want.height);
        const auto* data = skin.FindData(required.name);
        std::string problem;
        if (data == nullptr) {
            problem = Tr("missing");
        } else if (const auto size = StatedPictureSize(*data); !size) {
            problem = Tr("undecodable");
        } else if (SizeText(*size) != expected) {
            // TRANSLATORS: sizes as WIDTHxHEIGHT: what the picture has, what it should have
            problem = Substitute(Tr("%1, expected %2"), {SizeText(*size), expected});
        }
        if (problem.empty()) continue;
        std::cout << required.name << '\t' << problem << '\n';
        complete = false;
    }
    complete = CheckPicturesWhole(skin, Tr("damaged")) && complete;
    // The game leaves out a 2x skin that does not match at all, so every mismatch counts.
    complete = Check2x(args[0], skin) && complete;
    complete = CheckLanguagePackages(args[0], skin) && complete;
    return complete ? kSuccess : kFailure;
}
