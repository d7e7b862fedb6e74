#include "ImageReaders.h"

#include "skin/SkinImage.h"

std::unique_ptr<QCoreApplication> StartImageReaders() {
    static int argc = 1;
    static char name[] = "corvalin-dat";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QCoreApplication>(argc, argv);
}

std::string PictureSizeText(const std::vector<std::uint8_t>& bytes) {
    auto image = SkinImage::CreateFromBytes(bytes);
    if (!image || image->GetWidth() == 0) return "?";
    return std::to_string(image->GetWidth()) + "x" + std::to_string(image->GetHeight());
}
