// check-skin SKINFILE: tells a skin author what the game will miss or draw out of place.
#include <iostream>

#include "Commands.h"
#include "ImageReaders.h"
#include "core/layout/SkinLayout.h"
#include "core/package/ImagePackage.h"
#include "skin/SkinImage.h"

int CheckSkin(const Arguments& args) {
    if (args.size() != 1) return UsageError();
    ImagePackage skin;
    if (!skin.Load(args[0])) {
        ReportError(args[0],
                    skin.Damage().empty() ? "cannot be opened" : "damaged: " + skin.Damage());
        if (skin.Damage().empty()) return kFailure;
    }
    auto application = StartImageReaders();
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
        } else if (const std::string size = PictureSizeText(*data); size == "?") {
            problem = "undecodable";
        } else if (size != expected) {
            problem = size + ", expected " + expected;
        }
        if (problem.empty()) continue;
        std::cout << required.name << '\t' << problem << '\n';
        complete = false;
    }
    return complete ? kSuccess : kFailure;
}
