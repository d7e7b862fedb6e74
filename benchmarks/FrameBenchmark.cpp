// Composing one frame of the board view, against copying a finished 400 x 300 frame once: the
// least any paint of the board costs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <vector>

#include "core/board/GridSize.h"
#include "core/package/ImagePackage.h"
#include "game/GameWnd.h"

namespace {

constexpr char kPictureName[] = "Picture.jpg";

// A stored picture as the library keeps it: a 400 x 300 JPEG of the default quality.
std::vector<std::uint8_t> PictureJpeg() {
    QImage image(GameWnd::kWidth, GameWnd::kHeight, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 255 / 400, y * 255 / 300, (x ^ y) & 0xFF));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return {bytes.begin(), bytes.end()};
}

QImage Canvas() {
    QImage canvas(GameWnd::kWidth, GameWnd::kHeight, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    return canvas;
}

void BM_CopyFrame(benchmark::State& state) {
    QImage frame = Canvas();
    frame.fill(QColor(108, 212, 255));
    QImage screen = Canvas();
    for (auto _ : state) {
        QPainter painter(&screen);
        painter.drawImage(0, 0, frame);
    }
    benchmark::DoNotOptimize(screen.constBits());
}
BENCHMARK(BM_CopyFrame)->Unit(benchmark::kMicrosecond);

// One paint of a shuffled board of each size; the first paint, which renders the picture into
// the view's kept bitmap, happens before timing.
void BM_ComposeFrame(benchmark::State& state) {
    const GridSize& size = kGridSizes[static_cast<std::size_t>(state.range(0))];
    ImagePackage pictures;
    pictures.AddEntry(kPictureName, PictureJpeg());
    GameWnd view(nullptr, pictures);
    view.LoadPicture(kPictureName, size);
    view.Board().ShuffleWithSeed(7);
    QImage screen = Canvas();
    {
        QPainter painter(&screen);
        view.ComposeFrame(painter);
    }
    for (auto _ : state) {
        QPainter painter(&screen);
        view.ComposeFrame(painter);
    }
    benchmark::DoNotOptimize(screen.constBits());
    state.SetLabel(std::to_string(size.rows) + "x" + std::to_string(size.cols));
}
BENCHMARK(BM_ComposeFrame)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // The board view is a widget; no screen is needed to paint it into an image.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
