#include "Lettering.h"

#include <stdexcept>

#include "AssetFonts.h"
#include "Catalogue.h"

QString Lettering::Text(const char* english) const {
    const auto found = labels.find(english);
    return QString::fromUtf8(found != labels.end() ? found->second.c_str() : english);
}

Lettering EnglishLettering() { return {{}, {}, DefaultAssetFamily()}; }

Lettering ReadLettering(const std::string& language, const std::filesystem::path& poFile) {
    Lettering lettering{language, ReadTranslations(poFile, "painted label"), DefaultAssetFamily()};
    const std::map<std::string, std::string> faces = ReadTranslations(poFile, "painted label font");
    // TRANSLATORS: the face the labels painted on the skin are lettered in: DejaVu Sans, or for
    // Chinese, Japanese and Korean Noto Sans CJK SC, TC, JP or KR.
    const auto face = faces.find(PaintedLabel("painted label font", "DejaVu Sans"));
    if (face != faces.end()) lettering.family = QString::fromStdString(face->second);
    if (!IsAssetFamily(lettering.family)) {
        throw std::runtime_error(poFile.string() + ": the painted labels' face \"" +
                                 lettering.family.toStdString() + "\" is not one of the faces " +
                                 "the generator loads");
    }
    return lettering;
}
