#include "AssetFonts.h"

#include <QFontDatabase>
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace {

struct FontFile {
    const char* path;
    const char* package;
};

const FontFile kFontFiles[] = {
    {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "fonts-dejavu-core"},
    {"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", "fonts-dejavu-core"},
    // Collections: one face per region (JP, KR, SC, TC, HK), each with its own glyph shapes.
    {"/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", "fonts-noto-cjk"},
    {"/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc", "fonts-noto-cjk"},
};

QString g_defaultFamily;
QStringList g_families;

}  // namespace

void LoadAssetFonts() {
    for (const FontFile& file : kFontFiles) {
        const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(file.path));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (id < 0 || families.isEmpty()) {
            throw std::runtime_error(std::string("cannot load font ") + file.path + " (install " +
                                     file.package + ")");
        }
        if (g_defaultFamily.isEmpty()) g_defaultFamily = families.first();
        g_families += families;
    }
}

QString DefaultAssetFamily() { return g_defaultFamily; }

bool IsAssetFamily(const QString& family) { return g_families.contains(family); }

QFont AssetFont(int pixelSize, bool bold, const QString& family) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}
