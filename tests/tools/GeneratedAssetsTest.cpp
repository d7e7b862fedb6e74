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
#include "core/skin/SkinPair.h"
#include "support/qt/ToolRun.h"

namespace {

constexpr int kBoardRows = 6;
constexpr int kBoardColumns = 8;
constexpr int kTile = 50;
// Mean difference per colour channel below which two tiles are hard to tell apart.
constexpr double kLeastTileDifference = 12.0;

bool Generate(const QString& directory, const QString& poDirectory = CORVALIN_PO_DIR) {
    return QProcess::execute(QStringLiteral(CORVALIN_ASSETGEN_PATH), {directory, poDirectory}) == 0;
}

// The languages the build paints, as po/LINGUAS lists them.
QStringList Languages() {
    QFile file(CORVALIN_PO_DIR "/LINGUAS");
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList languages;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        const QString language = line.section('#', 0, 0).trimmed();
        if (!language.isEmpty()) languages << language;
    }
    return languages;
}

// The pictures that carry words, and where on each its words may lie at 1x: inside the face
// of the button or card, clear of its edges.
struct Lettered {
    const char* name;
    QRect face;
};

std::vector<Lettered> LetteredPictures() {
    std::vector<Lettered> pictures;
    const auto add = [&pictures](const layout::ButtonLayout& button, QRect face) {
        for (const char* name : {button.normal, button.mouseOn, button.mouseDown})
            pictures.push_back({name, face});
    };
    // The section tabs' labels lie under their icons.
    for (const layout::ButtonLayout* tab :
         {&layout::kGameButton, &layout::kResButton, &layout::kScoreButton, &layout::kAboutButton})
        add(*tab, QRect(2, 24, tab->rect.Width() - 4, tab->rect.Height() - 25));
    // The amber buttons' icon and label lie on the body, clear of its rounded ends.
    for (const layout::ButtonLayout* button :
         {&layout::kNewButton, &layout::kAddButton, &layout::kDelButton})
        add(*button, QRect(4, 3, button->rect.Width() - 8, button->rect.Height() - 6));
    // The about card's version line and tagline lie under the name, inside the card.
    pictures.push_back(
        {layout::kAboutImage.picture, QRect(4, 26, layout::kAboutImage.rect.Width() - 8,
                                            layout::kAboutImage.rect.Height() - 28)});
    return pictures;
}

// The smallest rectangle holding every pixel whose brightness differs between two pictures of
// one size by more than JPEG's noise. Brightness, since JPEG keeps it at full resolution: its
// colour, at half, smears a change over blocks of 16 x 16 pixels.
QRect Difference(const QImage& first, const QImage& second) {
    constexpr int kNoise = 64;
    QRect bounds;
    for (int y = 0; y < first.height(); ++y) {
        for (int x = 0; x < first.width(); ++x) {
            if (std::abs(qGray(first.pixel(x, y)) - qGray(second.pixel(x, y))) > kNoise)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
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
        for (const char* file : {"Skin.dat", "Skin@2x.dat", "Skin.ja.dat", "Skin@2x.ja.dat",
                                 "Pic.dat", "Score.dat", "corvalin-16.png"}) {
            const QByteArray first = FileBytes(Path(file).c_str());
            QVERIFY2(!first.isEmpty(), file);
            QVERIFY2(first == FileBytes(again.filePath(QString::fromLatin1(file))), file);
        }
    }

    // Each language's packages hold exactly the pictures with words, at the skin's sizes,
    // so that the game takes them.
    void LanguagePackagesHoldThePicturesWithWords() {
        QVERIFY(Languages().size() >= 12);
        std::set<std::string> expected;
        for (const Lettered& picture : LetteredPictures()) expected.insert(picture.name);
        for (const QString& language : Languages()) {
            ImagePackage package;
            ImagePackage package2x;
            QVERIFY(package.Load(Path(("Skin." + language + ".dat").toUtf8().constData())));
            QVERIFY(package2x.Load(Path(("Skin@2x." + language + ".dat").toUtf8().constData())));
            std::vector<std::string> names;
            package.GetNames(names);
            QCOMPARE(std::set<std::string>(names.begin(), names.end()), expected);
            QVERIFY(CompareSkins(m_skin, package, kLanguagePackage).empty());
            QVERIFY(CompareSkins(package, package2x, kLanguagePackageAt2x).empty());
        }
    }

    // Measured on the pictures made: where a language's picture differs from the English one
    // is its words (and an icon that moves with them), which must lie inside the face.
    void EveryLabelLiesInsideItsButtonInEveryLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("scale");
        for (const QString& language : Languages())
            for (const int scale : {1, 2})
                QTest::addRow("%s@%dx", qPrintable(language), scale) << language << scale;
    }
    void EveryLabelLiesInsideItsButtonInEveryLanguage() {
        QFETCH(QString, language);
        QFETCH(int, scale);
        ImagePackage package;
        const QString file = (scale == 1 ? "Skin." : "Skin@2x.") + language + ".dat";
        QVERIFY(package.Load(Path(file.toUtf8().constData())));
        const ImagePackage& english = scale == 1 ? m_skin : m_skin2x;
        int changed = 0;
        for (const Lettered& picture : LetteredPictures()) {
            const QImage lettered = DecodeJpeg(*package.FindData(picture.name));
            const QRect difference =
                Difference(lettered, DecodeJpeg(*english.FindData(picture.name)));
            if (difference.isEmpty()) continue;
            ++changed;
            const QRect face(picture.face.topLeft() * scale, picture.face.size() * scale);
            QVERIFY2(face.contains(difference),
                     qPrintable(QStringLiteral("%1: words at %2,%3 %4x%5, outside %6,%7 %8x%9")
                                    .arg(picture.name)
                                    .arg(difference.x())
                                    .arg(difference.y())
                                    .arg(difference.width())
                                    .arg(difference.height())
                                    .arg(face.x())
                                    .arg(face.y())
                                    .arg(face.width())
                                    .arg(face.height())));
        }
        // Every language words some labels differently from English.
        QVERIFY(changed > 0);
    }

    // The generator refuses a catalogue whose label would run over its button, or would be
    // lettered in a face that lacks its characters: the build fails, naming it.
    void ALabelThatCannotBePaintedFailsTheGenerator_data() {
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QString>("message");
        const QString label =
            QStringLiteral("msgctxt \"painted label\"\nmsgid \"%1\"\nmsgstr \"%2\"\n");
        QTest::newRow("too long") << label.arg("New Game", "Ein neues Spiel beginnen")
                                  << "NewNormal.jpg: the label \"Ein neues Spiel beginnen\" (New "
                                     "Game) does not fit its button";
        QTest::newRow("too long for a tab")
            << label.arg("Scores", "Bestenlisten aller Spiele") << "ScoreNormal.jpg: the label";
        QTest::newRow("characters the face lacks")
            << label.arg("Add", "追加")
            << "AddNormal.jpg: the label \"追加\" (Add) has a character";
        QTest::newRow("a face not loaded")
            << QStringLiteral(
                   "msgctxt \"painted label font\"\nmsgid \"DejaVu Sans\"\nmsgstr "
                   "\"Comic Sans MS\"\n")
            << "the painted labels' face \"Comic Sans MS\"";
    }
    void ALabelThatCannotBePaintedFailsTheGenerator() {
        QFETCH(QString, entries);
        QFETCH(QString, message);
        QTemporaryDir po;
        QFile linguas(po.filePath("LINGUAS"));
        QVERIFY(linguas.open(QIODevice::WriteOnly));
        linguas.write("xx\n");
        linguas.close();
        QFile catalogue(po.filePath("xx.po"));
        QVERIFY(catalogue.open(QIODevice::WriteOnly));
        catalogue.write(
            ("msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n" + entries)
                .toUtf8());
        catalogue.close();
        QTemporaryDir output;
        const test::ToolRun run =
            test::RunTool(CORVALIN_ASSETGEN_PATH, {output.path(), po.path()}, output.path());
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errors.contains(message), qPrintable(run.errors));
    }

    // English is painted the same whatever the catalogues say: Skin.dat and Skin@2x.dat keep
    // their bytes when languages are added.
    void TheSkinDoesNotDependOnTheLanguages() {
        QTemporaryDir po;
        QFile linguas(po.filePath("LINGUAS"));
        QVERIFY(linguas.open(QIODevice::WriteOnly));
        linguas.close();
        QTemporaryDir english;
        QVERIFY(Generate(english.path(), po.path()));
        for (const char* file : {"Skin.dat", "Skin@2x.dat"}) {
            QVERIFY2(FileBytes(Path(file).c_str()) ==
                         FileBytes(english.filePath(QString::fromLatin1(file))),
                     file);
        }
        QVERIFY(!QFile::exists(english.filePath("Skin.de.dat")));
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
        return m_output.filePath(QString::fromUtf8(file)).toStdString();
    }

    QTemporaryDir m_output;
    ImagePackage m_skin;
    ImagePackage m_skin2x;
    ImagePackage m_pictures;
};

QTEST_MAIN(GeneratedAssetsTest)
#include "GeneratedAssetsTest.moc"
