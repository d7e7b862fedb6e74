// check-skin SKINFILE: tells a skin author what the game will miss or draw out of place.
#include <iostream>

#include "Commands.h"
#include "ImageReaders.h"
#include "core/layout/SkinNames.h"
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
    for (const RequiredSkinImage& required : kRequiredSkinImages) {
        const std::string expected =
            std::to_string(required.width) + "x" + std::to_string(required.height);
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
