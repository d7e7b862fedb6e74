// The player's Add of a 24-megapixel camera photo (6000 x 4000 JPEG): checks, decoding scaled
// down, the 400 x 300 stretch and the JPEG of the stored picture, scratch files included.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "core/library/PictureConversion.h"

namespace {

// Smooth gradients with fine detail, so the file is as large as a photo's (about 5 MB).
QImage PhotoLikeImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int grain = (x * 7 + y * 13 + (x ^ y)) % 23;
            line[x] = qRgb((x * 255 / width + grain) % 256, (y * 255 / height + grain) % 256,
                           ((x + y) * 255 / (width + height) + 2 * grain) % 256);
        }
    }
    return image;
}

void ImportOf24MegapixelJpeg(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Photo.jpg");
    if (!PhotoLikeImage(6000, 4000).save(path, "JPG", 90)) {
        state.SkipWithError("cannot write the photo");
        return;
    }
    state.counters["file_MB"] = static_cast<double>(QFileInfo(path).size()) / 1e6;
    const std::string file = path.toStdString();
    for (auto _ : state) {
        ImportedPicture picture =
            PreparePicture(file, {"Harbour.jpg", "Forest.jpg"}, ConvertPicture);
        if (!picture.Accepted()) state.SkipWithError("the photo was refused");
        benchmark::DoNotOptimize(picture.jpeg.data());
    }
}
BENCHMARK(ImportOf24MegapixelJpeg)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    // Image format plugins are found through the application object.
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
