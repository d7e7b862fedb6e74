// Runs corvalin-assetgen into a fresh directory and inspects what it wrote.
#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <set>
#include <string>

#include "core/layout/SkinLayout.h"
#include "core/package/ImagePackage.h"

namespace {

constexpr int kBoardRows = 6;
constexpr int kBoardColumns = 8;
constexpr int kTile = 50;
// Mean difference per colour channel below which two tiles are hard to tell apart.
constexpr double kLeastTileDifference = 12.0;

bool Generate(const QString& directory) {
    return QProcess::execute(QStringLiteral(CORVALIN_ASSETGEN_PATH), {directory}) == 0;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The entry decoded as a JPEG; a null image when it is anything else or cut short.
QImage DecodeJpeg(const std::vector<std::uint8_t>& data) {
    const QByteArray bytes(reinterpret_cast<const char*>(data.data()),
                           static_cast<qsizetype>(data.size()));
    const bool wholeJpeg = bytes.startsWith("\xFF\xD8") && bytes.endsWith("\xFF\xD9");
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    if (!wholeJpeg || reader.format() != "jpeg") return {};
    return reader.read();
}

// Mean difference per colour channel, 0 to 255, between two tiles of the picture.
double TileDifference(const QImage& picture, int first, int second) {
    const int firstX = first % kBoardColumns * kTile;
    const int firstY = first / kBoardColumns * kTile;
    const int secondX = second % kBoardColumns * kTile;
    const int secondY = second / kBoardColumns * kTile;
    long total = 0;
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) {
            const QRgb a = picture.pixel(firstX + x, firstY + y);
            const QRgb b = picture.pixel(secondX + x, secondY + y);
            total += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                     std::abs(qBlue(a) - qBlue(b));
        }
    }
    return static_cast<double>(total) / (kTile * kTile * 3);
}

}  // namespace

class GeneratedAssetsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(m_output.isValid());
        QVERIFY2(Generate(m_output.path()), "the generator failed");
        QVERIFY(m_skin.Load(Path("Skin.dat")));
        QVERIFY(m_skin2x.Load(Path("Skin@2x.dat")));
        QVERIFY(m_pictures.Load(Path("Pic.dat")));
    }

    void SkinHoldsEveryRequiredPictureAtItsSize_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QSize>("size");
        for (const int scale : {1, 2}) {
            for (const layout::SkinPicture& required : layout::kSkinPictures) {
                QTest::addRow("%s@%dx", required.name, scale)
                    << QString::fromLatin1(required.name) << scale
                    << QSize(required.rect.Width(), required.rect.Height()) * scale;
            }
        }
    }

    void SkinHoldsEveryRequiredPictureAtItsSize() {
        QFETCH(QString, name);
        QFETCH(int, scale);
        QFETCH(QSize, size);
        const auto* data = (scale == 1 ? m_skin : m_skin2x).FindData(name.toStdString());
        QVERIFY2(data != nullptr, "missing from the skin");
        QCOMPARE(DecodeJpeg(*data).size(), size);
    }

    void SkinHoldsNoOtherAndNoDuplicatePicture() {
        std::set<std::string> required;
        for (const layout::SkinPicture& image : layout::kSkinPictures) required.insert(image.name);
        for (const ImagePackage* skin : {&m_skin, &m_skin2x}) {
            std::set<std::string> seen;
            for (const PackageEntry& entry : skin->Entries()) {
                QVERIFY2(required.count(entry.name) == 1, entry.name.c_str());
                QVERIFY2(seen.insert(entry.name).second, entry.name.c_str());
            }
        }
    }

    void LibraryHoldsAtLeastEightJpegPicturesOf400By300() {
        QVERIFY(m_pictures.Entries().size() >= 8);
        for (const PackageEntry& entry : m_pictures.Entries()) {
            QVERIFY2(entry.name.ends_with(".jpg"), entry.name.c_str());
            QCOMPARE(DecodeJpeg(entry.data).size(), QSize(400, 300));
        }
    }

    // On the largest board every tile must be told from every other by its look alone.
    void EveryTileOfTheLargestBoardLooksDifferent() {
        QStringList alike;
        for (const PackageEntry& entry : m_pictures.Entries()) {
            const QImage picture = DecodeJpeg(entry.data);
            QVERIFY(!picture.isNull());
            double closest = 255;
            QString pair;
            for (int first = 0; first < kBoardRows * kBoardColumns; ++first) {
                for (int second = first + 1; second < kBoardRows * kBoardColumns; ++second) {
                    const double difference = TileDifference(picture, first, second);
                    if (difference >= closest) continue;
                    closest = difference;
                    pair = QStringLiteral("%1: tiles %2 and %3 differ by %4")
                               .arg(QString::fromStdString(entry.name))
                               .arg(first)
                               .arg(second)
                               .arg(difference, 0, 'f', 1);
                }
            }
            qInfo("%s", qPrintable(pair));
            if (closest <= kLeastTileDifference) alike << pair;
        }
        QVERIFY2(alike.isEmpty(), qPrintable(alike.join(QStringLiteral("; "))));
    }

    void GeneratingAgainWritesTheSameBytes() {
        QTemporaryDir again;
        QVERIFY(Generate(again.path()));
        for (const char* file :
             {"Skin.dat", "Skin@2x.dat", "Pic.dat", "Score.dat", "corvalin-16.png"}) {
            const QByteArray first = FileBytes(Path(file).c_str());
            QVERIFY2(!first.isEmpty(), file);
            QVERIFY2(first == FileBytes(again.filePath(QString::fromLatin1(file))), file);
        }
    }

    void ScoreFileIsAnEmptyTable() {
        QCOMPARE(FileBytes(Path("Score.dat").c_str()), QByteArray(4, '\0'));
    }

    void IconIsASquareWithTransparentCornersAtEverySize() {
        // Every size of the hicolor theme a desktop asks for.
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
            const QImage icon(Path(("corvalin-" + std::to_string(size) + ".png").c_str()).c_str());
            QCOMPARE(icon.size(), QSize(size, size));
            QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(icon.pixel(size / 2, size / 2)), 255);
        }
    }

private:
    std::string Path(const char* file) const {
        return m_output.filePath(QString::fromLatin1(file)).toStdString();
    }

    QTemporaryDir m_output;
    ImagePackage m_skin;
    ImagePackage m_skin2x;
    ImagePackage m_pictures;
};

QTEST_MAIN(GeneratedAssetsTest)
#include "GeneratedAssetsTest.moc"
