// corvalin-assetgen OUTDIR PODIR: paints the default skin, its language packages from the
// catalogues in PODIR, the puzzle pictures and the icon.
#include <QGuiApplication>
#include <exception>
#include <iostream>

#include "AssetFiles.h"
#include "AssetFonts.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: corvalin-assetgen OUTDIR PODIR\n";
        return 2;
    }
    // Painting needs no display; the build and the tests run without one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    try {
        LoadAssetFonts();
        WriteAssetFiles(argv[1], argv[2]);
    } catch (const std::exception& error) {
        std::cerr << "corvalin-assetgen: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
