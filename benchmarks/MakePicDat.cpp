// Writes a library of COUNT pictures for the start-up figures: the pictures of SOURCE
// repeated in turn under new names.
//   make_pic_dat SOURCE_PIC_DAT OUT COUNT
#include <cstdlib>
#include <iostream>
#include <string>

#include "core/package/ImagePackage.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: make_pic_dat SOURCE_PIC_DAT OUT COUNT\n";
        return 2;
    }
    ImagePackage source;
    if (!source.Load(argv[1]) || source.Count() == 0) {
        std::cerr << argv[1] << ": no pictures\n";
        return 1;
    }
    const auto& pictures = source.Entries();
    ImagePackage library;
    const int count = std::atoi(argv[3]);
    for (int i = 0; i < count; ++i) {
        const PackageEntry& picture = pictures[static_cast<std::size_t>(i) % pictures.size()];
        library.AddEntry("Picture " + std::to_string(i) + ".jpg", picture.data);
    }
    library.Save(argv[2]);
    return 0;
}
