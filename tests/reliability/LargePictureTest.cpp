// The largest photos cameras and phones write, made at test time by the formats' own tools (too
// large to keep): each imported whole through the sealed decoder, within its memory bound.

#include <QImage>
#include <QTest>
#include <fstream>

#include "core/layout/SkinLayout.h"
#include "core/library/PictureConversion.h"
#include "support/DataFolder.h"
#include "support/qt/GridHeic.h"
#include "support/qt/ToolRun.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr QRgb kRed = qRgb(230, 30, 30);
constexpr QRgb kGreen = qRgb(30, 220, 40);
constexpr QRgb kBlue = qRgb(30, 40, 220);
constexpr QRgb kYellow = qRgb(240, 230, 30);
constexpr std::array<QRgb, 4> kQuarters{kRed, kGreen, kBlue, kYellow};
// Encoders of pictures this large take minutes on a busy machine.
constexpr int kToolWaitMs = 600000;

// A binary PPM of width x height in four coloured quarters, written a row at a time: a 200 MP
// picture would take 800 MB in memory.
void WriteQuartersPpm(const std::string& path, int width, int height) {
    std::ofstream file(path, std::ios::binary);
    file << "P6 " << width << ' ' << height << " 255\n";
    for (int half = 0; half < 2; ++half) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            const QRgb colour = kQuarters[static_cast<std::size_t>(half * 2 + (x >= width / 2))];
            row += {static_cast<char>(qRed(colour)), static_cast<char>(qGreen(colour)),
                    static_cast<char>(qBlue(colour))};
        }
        for (int y = 0; y < height / 2; ++y) file.write(row.data(), static_cast<long>(row.size()));
    }
}

// Each quarter of the stored picture within 24 of its colour at its centre, after two lossy
// codings.
bool ShowsQuarters(const ImportedPicture& picture) {
    const QImage stored =
        QImage::fromData(picture.jpeg.data(), static_cast<int>(picture.jpeg.size()));
    if (stored.size() != QSize(layout::kPictureSize.width, layout::kPictureSize.height))
        return false;
    const std::array<QPoint, 4> centres{QPoint(100, 75), QPoint(300, 75), QPoint(100, 225),
                                        QPoint(300, 225)};
    for (std::size_t i = 0; i < 4; ++i) {
        const QRgb pixel = stored.pixel(centres[i]);
        if (qAbs(qRed(pixel) - qRed(kQuarters[i])) > 24 ||
            qAbs(qGreen(pixel) - qGreen(kQuarters[i])) > 24 ||
            qAbs(qBlue(pixel) - qBlue(kQuarters[i])) > 24)
            return false;
    }
    return true;
}

}  // namespace

class LargePictureTest : public QObject {
    Q_OBJECT

    test::DataFolder m_files;

    // The file program makes of a quarters picture of width x height given as a PPM.
    std::string Made(int width, int height, const QString& program, QStringList arguments,
                     const std::string& name) {
        const std::string input = m_files.File("input.ppm");
        WriteQuartersPpm(input, width, height);
        const std::string output = m_files.File(name);
        arguments << QString::fromStdString(output) << QString::fromStdString(input);
        const test::ToolRun run = test::RunTool(
            program, arguments, QString::fromStdString(m_files.Path()), {}, nullptr, kToolWaitMs);
        std::remove(input.c_str());
        return run.exitCode == 0 ? output : std::string();
    }

private slots:
    // A phone's full-resolution mode, 48 MP, as one HEVC image of 8064 x 6048.
    void PhoneHeicOf48Megapixels() {
        // heif-enc reads PNG, JPEG or Y4M: a baseline JPEG of the picture it is.
        const std::string jpeg =
            Made(8064, 6048, "cjpeg", {"-quality", "95", "-outfile"}, "phone.jpg");
        QVERIFY(!jpeg.empty());
        const std::string heic = m_files.File("Phone.heic");
        const test::ToolRun run =
            test::RunTool("heif-enc",
                          {"-q", "60", "-p", "preset=ultrafast", "-o", QString::fromStdString(heic),
                           QString::fromStdString(jpeg)},
                          QString::fromStdString(m_files.Path()), {}, nullptr, kToolWaitMs);
        QCOMPARE(run.exitCode, 0);
        const ImportedPicture picture = PreparePicture(heic, {}, ConvertPicture);
        QVERIFY(picture.Accepted());
        QVERIFY(ShowsQuarters(picture));
    }

    // A grid as phones write them, of 512 x 512 tiles, whose canvas alone (its planes and its
    // RGB) would take 1.2 GB: decoded a row of tiles at a time, stretched as it comes.
    void HeicGridOf200Megapixels() {
        constexpr int kWidth = 16384, kHeight = 12288, kTile = 512;
        heif_init(nullptr);
        const std::vector<std::uint8_t> heic =
            test::GridHeic(kWidth, kHeight, kTile, [&](int column, int row) {
                QImage tile(kTile, kTile, QImage::Format_RGB32);
                tile.fill(kQuarters[static_cast<std::size_t>((row * kTile >= kHeight / 2) * 2 +
                                                             (column * kTile >= kWidth / 2))]);
                return tile;
            });
        QVERIFY(!heic.empty());
        const ImportedPicture picture =
            PreparePicture(m_files.WriteBytes("Grid.heic", heic), {}, ConvertPicture);
        QVERIFY(picture.Accepted());
        QVERIFY(ShowsQuarters(picture));
    }

    // A 200 MP camera's photo saved progressive: every coefficient is held while it decodes.
    void ProgressiveJpegOf200Megapixels() {
        const std::string jpeg =
            Made(16384, 12288, "cjpeg", {"-progressive", "-quality", "80", "-outfile"}, "Huge.jpg");
        QVERIFY(!jpeg.empty());
        const ImportedPicture picture = PreparePicture(jpeg, {}, ConvertPicture);
        QVERIFY(picture.Accepted());
        QVERIFY(ShowsQuarters(picture));
    }
};

QTEST_MAIN(LargePictureTest)
#include "LargePictureTest.moc"
