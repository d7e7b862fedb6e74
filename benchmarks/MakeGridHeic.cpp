// make_grid_heic PICTURE OUT.heic [TILE]: the picture (any format Qt reads) as a HEIC grid of
// TILE x TILE tiles (512 by default), as phones write their photos; for the import figures.
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <fstream>
#include <iostream>

#include "support/qt/GridHeic.h"

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc < 3) {
        std::cerr << "usage: make_grid_heic PICTURE OUT.heic [TILE]\n";
        return 2;
    }
    QImageReader::setAllocationLimit(0);  // a 200 MP photo is beyond Qt's default limit
    const QImage picture(QString::fromLocal8Bit(argv[1]));
    heif_init(nullptr);
    const std::vector<std::uint8_t> heic =
        test::GridHeic(picture, argc > 3 ? std::atoi(argv[3]) : 512);
    if (picture.isNull() || heic.empty()) {
        std::cerr << "make_grid_heic: cannot make " << argv[2] << '\n';
        return 1;
    }
    std::ofstream(argv[2], std::ios::binary)
        .write(reinterpret_cast<const char*>(heic.data()),
               static_cast<std::streamsize>(heic.size()));
    return 0;
}
