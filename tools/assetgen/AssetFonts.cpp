#include "AssetFonts.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace {

const char* const kFontFiles[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
};

QString g_family;

}  // namespace

void LoadAssetFonts() {
    for (const char* file : kFontFiles) {
        const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(file));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (id < 0 || families.isEmpty()) {
            throw std::runtime_error(std::string("cannot load font ") + file +
                                     " (install fonts-dejavu-core)");
        }
        g_family = families.first();
    }
}

QFont AssetFont(int pixelSize, bool bold) {
    QFont font(g_family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QFont FittingFont(const QString& text, double width, int maxSize, bool bold) {
    for (int size = maxSize; size > 8; --size) {
        const QFont font = AssetFont(size, bold);
        if (QFontMetricsF(font).horizontalAdvance(text) <= width) return font;
    }
    return AssetFont(8, bold);
}
