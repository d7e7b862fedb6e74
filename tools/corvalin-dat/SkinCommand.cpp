// check-skin SKINFILE: tells a skin author what the game will miss or draw out of place.
#include <filesystem>
#include <iostream>

#include "Commands.h"
#include "core/layout/SkinLayout.h"
#include "core/package/ImagePackage.h"
#include "core/picture/PictureSize.h"
#include "core/skin/SkinPair.h"

namespace {

// The 2x skin the game reads beside a skin: Skin@2x.dat beside Skin.dat.
std::string Skin2xPath(const std::string& skinPath) {
    const std::filesystem::path path(skinPath);
    return path.parent_path() / (path.stem().string() + "@2x" + path.extension().string());
}

// Reports every picture of a skin package that reads but does not decode whole (cut short, a
// damaged scan), which the game would draw grey or garbled, as "NAME<tab>damaged" and where;
// true when there is none. A picture whose header does not read is the size checks' to report.
bool CheckPicturesWhole(const ImagePackage& skin, const std::string& where) {
    bool whole = true;
    for (const PackageEntry& entry : skin.Entries()) {
        if (!StatedPictureSize(entry.data) || PictureDecodesWhole(entry.data)) continue;
        std::cout << entry.name << "\tdamaged" << where << '\n';
        whole = false;
    }
    return whole;
}

// Reports every way the 2x skin beside the skin fails to match it; true when none, or when
// there is no 2x skin at all (the game then draws the 1x pictures everywhere).
bool Check2x(const std::string& skinPath, const ImagePackage& skin) {
    const std::string path2x = Skin2xPath(skinPath);
    std::error_code ignored;
    if (!std::filesystem::exists(path2x, ignored)) return true;
    ImagePackage skin2x;
    if (!skin2x.Load(path2x)) {
        ReportError(path2x,
                    skin2x.Damage().empty() ? "cannot be opened" : "damaged: " + skin2x.Damage());
        return false;
    }
    const std::vector<SkinPairProblem> problems = CompareSkinAt2x(skin, skin2x);
    for (const SkinPairProblem& problem : problems) {
        std::cout << problem.name << '\t' << problem.problem << '\n';
    }
    return CheckPicturesWhole(skin2x, " in the 2x skin") && problems.empty();
}

}  // namespace

int CheckSkin(const Arguments& args) {
    if (args.size() != 1) return UsageError();
    ImagePackage skin;
    if (!skin.Load(args[0])) {
        ReportError(args[0],
                    skin.Damage().empty() ? "cannot be opened" : "damaged: " + skin.Damage());
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
            problem = "missing";
        } else if (const auto size = StatedPictureSize(*data); !size) {
            problem = "undecodable";
        } else if (SizeText(*size) != expected) {
            problem = SizeText(*size) + ", expected " + expected;
        }
        if (problem.empty()) continue;
        std::cout << required.name << '\t' << problem << '\n';
        complete = false;
    }
    complete = CheckPicturesWhole(skin, "") && complete;
    // The game leaves out a 2x skin that does not match at all, so every mismatch counts.
    complete = Check2x(args[0], skin) && complete;
    return complete ? kSuccess : kFailure;
}
