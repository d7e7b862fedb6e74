// import_picture IN OUT: the player's "Add" of one picture as a process of its own, so that a
// script can time it beside another program doing the same: IN is checked, decoded, stretched to
// 400 x 300 and stored as a JPEG of the default quality, which is written to OUT.
#include <QCoreApplication>
#include <QFile>
#include <iostream>

#include "library/PictureImport.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: import_picture IN OUT\n";
        return 2;
    }
    // Image format plugins are found through the application object.
    QCoreApplication app(argc, argv);
    const ImportedPicture picture = PreparePicture(argv[1], {});
    if (!picture.Accepted()) {
        std::cerr << "import_picture: " << RefusalMessage(picture).toStdString() << '\n';
        return 1;
    }
    QFile out(QFile::decodeName(argv[2]));
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(reinterpret_cast<const char*>(picture.jpeg.data()),
                  static_cast<qint64>(picture.jpeg.size())) !=
            static_cast<qint64>(picture.jpeg.size())) {
        std::cerr << "import_picture: cannot write " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
