#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <string_view>

#include "core/board/PuzzleBoard.h"
#include "core/layout/SkinLayout.h"
#include "core/package/ImagePackage.h"
#include "support/qt/PseudoCatalogue.h"
#include "support/qt/TestImages.h"
#include "support/qt/ToolRun.h"

namespace {

using Run = test::ToolRun;

// One entry A.jpg holding FF D8 FF.
const QByteArray kWorkedPackage = QByteArray::fromHex(
    "01000000"    // entry count 1
    "05000000"    // name length 5
    "412e6a7067"  // A.jpg
    "03000000"    // data length 3
    "00000000"    // reserved
    "ffd8ff");    // data

// Two players on Sea.jpg 3 x 4 and one on Sea.jpg 4 x 5, oldest first.
QByteArray ScoreFile() {
    QByteArray bytes = QByteArray::fromHex("03000000");
    auto row = [&](int grid, const char* user, int steps, int seconds, const char* date) {
        bytes +=
            QByteArray::fromHex(QByteArray::number(grid, 16).rightJustified(2, '0') + "000000");
        bytes += char(7) + QByteArray("Sea.jpg");
        bytes += char(qstrlen(user)) + QByteArray(user);
        bytes +=
            QByteArray::fromHex(QByteArray::number(steps, 16).rightJustified(2, '0') + "000000");
        bytes +=
            QByteArray::fromHex(QByteArray::number(seconds, 16).rightJustified(2, '0') + "000000");
        bytes += char(10) + QByteArray(date);
    };
    row(0, "ann", 20, 90, "2005.12.06");
    row(0, "bob", 10, 95, "2005.12.07");
    row(1, "cy", 5, 5, "2005.12.08");
    return bytes;
}

std::vector<std::uint8_t> Jpeg(int width, int height) {
    return test::Encode(test::Solid(width, height, qRgb(40, 90, 160)), "JPG");
}

// Every picture the game needs, each a JPEG of its place's size times scale.
void AddWholeSkin(ImagePackage& skin, int scale) {
    for (const layout::SkinPicture& required : layout::kSkinPictures) {
        skin.AddEntry(required.name,
                      Jpeg(required.rect.Width() * scale, required.rect.Height() * scale));
    }
}

// Clicks the cell holding tile.
ClickResult ClickTile(PuzzleBoard& board, int tile) {
    for (int row = 0; row < board.Rows(); ++row)
        for (int col = 0; col < board.Cols(); ++col)
            if (board.CellValue(row, col) == tile) return board.ClickCell(row, col);
    return {};
}

// A picture with something in every block, so that its scan is long enough to cut.
QImage Gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x * 7 % 256, y * 5 % 256, 90));
    return image;
}

// The first 60% of a JPEG file as an encoder writes it, sequential or progressive: the header
// whole, the picture data stopping part way.
std::vector<std::uint8_t> CutShortJpeg(int width, int height, bool progressive) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPG");
    writer.setProgressiveScanWrite(progressive);
    writer.write(Gradient(width, height));
    return {bytes.begin(), bytes.begin() + bytes.size() * 6 / 10};
}

void Replace(ImagePackage& skin, const std::string& name, std::vector<std::uint8_t> bytes) {
    skin.Remove(name);
    skin.AddEntry(name, std::move(bytes));
}

// The lines of a run that are not said in the pseudo-language, each with nested texts of ours
// bracketed ("damaged: REASON" holds two); what is data before the text is left out: the
// program's and a file's name before an error, a picture's name before its problem. whole: the
// output is one text over many lines (the help).
QStringList Untranslated(const test::ToolRun& run, int nested, bool whole) {
    QStringList lines = run.lines + run.errors.split('\n', Qt::SkipEmptyParts);
    if (whole) lines = QStringList{lines.join('\n')};
    static const QRegularExpression data("^(corvalin-dat: [^ \\[]+: |[^ \\t\\[]+\\t)");
    static const QRegularExpression closing("\\x{e5}\\]");
    QStringList faults;
    for (const QString& line : lines) {
        const QString text = QString(line).remove(data);
        if (!test::IsPseudo(text) || text.count(closing) != nested) faults << line;
    }
    if (lines.isEmpty()) faults << "nothing said";
    return faults;
}

}  // namespace

class CorvalinDatTest : public QObject {
    Q_OBJECT

    test::DataFolder m_dir;

    QString File(const QString& name) const {
        return QString::fromStdString(m_dir.File(name.toStdString()));
    }

    void Write(const QString& name, const QByteArray& bytes) const {
        m_dir.WriteBytes(name.toStdString(), {bytes.begin(), bytes.end()});
    }

    QByteArray Read(const QString& name) const {
        const std::vector<std::uint8_t> bytes = m_dir.Bytes(name.toStdString());
        return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                          static_cast<qsizetype>(bytes.size()));
    }

    // A copy of corvalin-dat with the pseudo-language's catalogue beside it.
    QTemporaryDir m_pseudoTool;

    Run Dat(const QStringList& arguments) const {
        return test::RunTool(CORVALIN_DAT_PATH, arguments,
                             QString::fromStdString(m_dir.Dir().string()));
    }

private slots:
    void ListShowsEveryEntryWithItsSize() {
        Write("ex.dat", kWorkedPackage);
        ImagePackage package;
        package.AddEntry("B.jpg", Jpeg(16, 9));
        QVERIFY(package.Save(File("two.dat").toStdString()));
        const Run one = Dat({"list", "ex.dat"});
        QCOMPARE(one.exitCode, 0);
        QCOMPARE(one.lines, QStringList{"0\tA.jpg\t3\t?"});
        const Run two = Dat({"list", "two.dat"});
        QCOMPARE(two.lines.size(), 1);
        QVERIFY(two.lines[0].startsWith("0\tB.jpg\t"));
        QVERIFY(two.lines[0].endsWith("\t16x9"));
    }

    void ExtractWritesTheFirstEntrysBytes() {
        Write("ex.dat", kWorkedPackage);
        QCOMPARE(Dat({"extract", "ex.dat", "A.jpg", "out.bin"}).exitCode, 0);
        QCOMPARE(Read("out.bin"), QByteArray::fromHex("ffd8ff"));
        const Run unknown = Dat({"extract", "ex.dat", "a.jpg", "other.bin"});
        QCOMPARE(unknown.exitCode, 1);
        QVERIFY(unknown.errors.contains("ex.dat"));
        QVERIFY(!QFile::exists(File("other.bin")));
    }

    void AddCreatesAndAppendsAndRemoveTakesTheFirst() {
        QFile::remove(File("new.dat"));
        Write("A.jpg", QByteArray::fromHex("ffd8ff"));
        QCOMPARE(Dat({"add", "new.dat", File("A.jpg")}).exitCode, 0);
        QCOMPARE(Read("new.dat"), kWorkedPackage);
        QCOMPARE(Dat({"add", "new.dat", "A.jpg", "Second.jpg"}).exitCode, 0);
        QCOMPARE(Dat({"add", "new.dat", "A.jpg"}).exitCode, 0);
        QCOMPARE(Dat({"list", "new.dat"}).lines.size(), 3);
        QCOMPARE(Dat({"remove", "new.dat", "A.jpg"}).exitCode, 0);
        const QStringList left = Dat({"list", "new.dat"}).lines;
        QCOMPARE(left.size(), 2);
        QVERIFY(left[0].startsWith("0\tSecond.jpg\t"));
        QVERIFY(left[1].startsWith("1\tA.jpg\t"));
        QCOMPARE(Dat({"remove", "new.dat", "Missing.jpg"}).exitCode, 1);
    }

    // The flush counted from outside, by a library preloaded into the tool: the new package
    // reaches the disk under its temporary name before it takes the old one's place, and the
    // folder's new entry after, so that a power cut leaves one of the two whole.
    void AddFlushesTheNewPackageBeforeItReplacesTheOld() {
        Write("flushed.dat", kWorkedPackage);
        Write("A.jpg", QByteArray::fromHex("ffd8ff"));
        const QString log = File("sync.log");
        QProcessEnvironment preload;
        preload.insert("LD_PRELOAD", SYNC_WATCH_PATH);
        preload.insert("SYNC_WATCH_LOG", log);
        // Under the sanitizers, whose runtime then no longer comes first.
        preload.insert("ASAN_OPTIONS",
                       qEnvironmentVariable("ASAN_OPTIONS") + ":verify_asan_link_order=0");
        // Named as the system names the descriptors it flushes: no link on the way.
        const QString folder = QString::fromStdString(std::filesystem::canonical(m_dir.Dir()));
        const QString target = folder + "/flushed.dat";
        QCOMPARE(test::RunTool(CORVALIN_DAT_PATH, {"add", target, File("A.jpg")}, folder, preload)
                     .exitCode,
                 0);

        const QStringList calls =
            QString::fromLatin1(Read("sync.log")).split('\n', Qt::SkipEmptyParts);
        const auto replace = std::find_if(calls.begin(), calls.end(), [&](const QString& call) {
            return call.startsWith("rename ") && call.endsWith(" " + target);
        });
        QVERIFY2(replace != calls.end(), qPrintable(calls.join(" | ")));
        const QString temporary = replace->section(' ', 1, 1);
        QVERIFY2(std::find(calls.begin(), replace, "fsync " + temporary) != replace,
                 qPrintable(calls.join(" | ")));
        QVERIFY2(std::find(replace, calls.end(), "fsync " + folder) != calls.end(),
                 qPrintable(calls.join(" | ")));
    }

    void NamesAreEscapedInOutputAndArguments() {
        QFile::remove(File("escaped.dat"));
        Write("A.jpg", QByteArray::fromHex("ffd8ff"));
        // Tab, newline, backslash and another control byte; \x1F reads as \x1f.
        QCOMPARE(Dat({"add", "escaped.dat", "A.jpg", "two\\nlines\\tx\\\\y\\x1f.jpg"}).exitCode, 0);
        ImagePackage package;
        QVERIFY(package.Load(File("escaped.dat").toStdString()));
        QCOMPARE(package.Entries().at(0).name, std::string("two\nlines\tx\\y\x1f.jpg"));
        QCOMPARE(Dat({"list", "escaped.dat"}).lines,
                 QStringList{"0\ttwo\\nlines\\tx\\\\y\\x1f.jpg\t3\t?"});
        QCOMPARE(
            Dat({"extract", "escaped.dat", "two\\nlines\\tx\\\\y\\x1F.jpg", "out.bin"}).exitCode,
            0);
        QCOMPARE(Read("out.bin"), QByteArray::fromHex("ffd8ff"));
        for (const char* bad : {"a\\", "a\\q", "a\\x1", "a\\xzz"})
            QCOMPARE(Dat({"remove", "escaped.dat", bad}).exitCode, 2);
        QCOMPARE(Dat({"remove", "escaped.dat", "two\\nlines\\tx\\\\y\\x1f.jpg"}).exitCode, 0);
    }

    void ANameOver127BytesIsRefused() {
        Write("A.jpg", QByteArray::fromHex("ffd8ff"));
        Write("keep.dat", kWorkedPackage);
        const Run run = Dat({"add", "keep.dat", "A.jpg", QString(128, 'n')});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(Read("keep.dat"), kWorkedPackage);
        QCOMPARE(Dat({"add", "keep.dat", "A.jpg", QString(127, 'n')}).exitCode, 0);
    }

    void ADamagedPackageListsWhatWasReadAndIsNotChanged() {
        ImagePackage package;
        package.AddEntry("One.jpg", {1, 2, 3});
        package.AddEntry("Two.jpg", {4, 5, 6, 7});
        package.Save(File("cut.dat").toStdString());
        const QByteArray whole = Read("cut.dat");
        Write("cut.dat", whole.left(whole.size() - 2));
        const Run run = Dat({"list", "cut.dat"});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.lines, QStringList{"0\tOne.jpg\t3\t?"});
        QVERIFY(run.errors.contains("cut.dat"));
        QCOMPARE(run.errors.count('\n'), 1);
        Write("A.jpg", QByteArray::fromHex("ffd8ff"));
        QCOMPARE(Dat({"add", "cut.dat", "A.jpg"}).exitCode, 1);
        QCOMPARE(Read("cut.dat"), whole.left(whole.size() - 2));
    }

    void MissingFilesAndBadUsageHaveTheirExitCodes() {
        QCOMPARE(Dat({"list", "nothing.dat"}).exitCode, 1);
        QCOMPARE(Dat({"scores", "nothing.dat"}).exitCode, 1);
        QCOMPARE(Dat({}).exitCode, 2);
        QCOMPARE(Dat({"frobnicate"}).exitCode, 2);
        QCOMPARE(Dat({"list"}).exitCode, 2);
        QCOMPARE(Dat({"scores", "s.dat", "--size", "6", "--picture", "Sea.jpg"}).exitCode, 2);
        const Run help = Dat({"--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.lines.join('\n').contains("check-skin"));
    }

    void ScoresListAllRowsOrRankOnePictureAndSize() {
        Write("s.dat", ScoreFile());
        const Run all = Dat({"scores", "s.dat"});
        QCOMPARE(all.exitCode, 0);
        QCOMPARE(all.lines, (QStringList{"0\tSea.jpg\tann\t20\t90\t2005.12.06",
                                         "0\tSea.jpg\tbob\t10\t95\t2005.12.07",
                                         "1\tSea.jpg\tcy\t5\t5\t2005.12.08"}));
        QCOMPARE(Dat({"scores", "s.dat", "--picture", "Sea.jpg", "--size", "0"}).lines,
                 (QStringList{"1\tbob\t10\t95\t2005.12.07", "2\tann\t20\t90\t2005.12.06"}));
        QCOMPARE(
            Dat({"scores", "s.dat", "--size", "0", "--picture", "Sea.jpg", "--by", "time"}).lines,
            (QStringList{"1\tann\t20\t90\t2005.12.06", "2\tbob\t10\t95\t2005.12.07"}));
        QVERIFY(Dat({"scores", "s.dat", "--picture", "sea.jpg", "--size", "0"}).lines.isEmpty());
    }

    void CheckSkinNamesWhatIsMissingBrokenOrMisSized() {
        ImagePackage skin;
        AddWholeSkin(skin, 1);
        skin.Save(File("Skin.dat").toStdString());
        const Run whole = Dat({"check-skin", "Skin.dat"});
        QCOMPARE(whole.exitCode, 0);
        QVERIFY(whole.lines.isEmpty());

        skin.Remove("CloseMouseOn.jpg");
        skin.Remove("About.jpg");
        skin.AddEntry("About.jpg", Jpeg(100, 76));
        skin.Remove("NewNormal.jpg");
        skin.AddEntry("NewNormal.jpg", {0xff, 0xd8, 0xff});
        skin.Save(File("Skin.dat").toStdString());
        const Run broken = Dat({"check-skin", "Skin.dat"});
        QCOMPARE(broken.exitCode, 1);
        QCOMPARE(broken.lines,
                 (QStringList{"CloseMouseOn.jpg\tmissing", "NewNormal.jpg\tundecodable",
                              "About.jpg\t100x76, expected 136x76"}));
    }

    void CheckSkinComparesTheSkinBesideItAtTwiceTheSize() {
        ImagePackage skin;
        ImagePackage skin2x;
        AddWholeSkin(skin, 1);
        AddWholeSkin(skin2x, 2);
        skin.Save(File("Skin.dat").toStdString());
        skin2x.Save(File("Skin@2x.dat").toStdString());
        const Run whole = Dat({"check-skin", "Skin.dat"});
        QCOMPARE(whole.exitCode, 0);
        QVERIFY(whole.lines.isEmpty());

        skin2x.Remove("CloseMouseOn.jpg");
        skin2x.Remove("About.jpg");
        skin2x.AddEntry("About.jpg", Jpeg(136, 76));
        skin2x.AddEntry("Extra.jpg", Jpeg(10, 10));
        skin2x.Save(File("Skin@2x.dat").toStdString());
        const Run mismatched = Dat({"check-skin", "Skin.dat"});
        QCOMPARE(mismatched.exitCode, 1);
        QCOMPARE(mismatched.lines,
                 (QStringList{"CloseMouseOn.jpg\tmissing from the 2x skin",
                              "About.jpg\t136x76 in the 2x skin, expected 272x152",
                              "Extra.jpg\tonly in the 2x skin"}));
    }

    // The solution's clicks, replayed on the board the seed makes, solve it in the moves said.
    void SolvePrintsClicksThatSolveTheBoard() {
        const Run seeded = Dat({"solve", "4x5", "--seed", "9"});
        QCOMPARE(seeded.exitCode, 0);
        QVERIFY(seeded.lines.size() >= 2);
        PuzzleBoard board;
        board.Reset({.rows = 4, .cols = 5});
        board.ShuffleWithSeed(9);
        int moved = 0;
        for (qsizetype i = 0; i + 1 < seeded.lines.size(); ++i) {
            const int tile = seeded.lines[i].toInt();
            const ClickResult click = ClickTile(board, tile);
            QVERIFY(click.counted);
            moved += click.moved;
        }
        QVERIFY(!board.InPlay());
        QCOMPARE(seeded.lines.back(), QString("%1 moves").arg(moved));
        const Run cells = Dat({"solve", "2x2", "-1", "0", "10", "1"});
        QCOMPARE(cells.lines, (QStringList{"0", "1", "2 moves"}));
    }

    void SolveRefusesBadBoardsWithTheirReasons() {
        struct Case {
            QStringList args;
            int exitCode;
            QString error;
        };
        const Case cases[] = {
            {{"solve", "2x3", "1", "0", "2", "10", "11", "-1"}, 1, "cannot be solved"},
            {{"solve", "2x2", "0", "0", "10", "-1"}, 2, "tile 0 appears twice"},
            {{"solve", "2x2", "0", "1", "10"}, 2, "has 4 cells, not 3"},
            {{"solve", "7x4", "--seed", "1"}, 2, "not 7x4"},
            {{"solve", "3x4", "--seed", "x"}, 2, "--seed takes one number"},
            {{"solve", "2x2", "0", "one", "10", "-1"}, 2, "not one"},
        };
        for (const Case& test : cases) {
            const Run run = Dat(test.args);
            QCOMPARE(run.exitCode, test.exitCode);
            QVERIFY2(run.errors.contains(test.error), qPrintable(run.errors));
            QVERIFY(run.lines.isEmpty());
        }
    }

    // A picture cut short still decodes to its size, grey where its data stops: each picture
    // is decoded whole, in the skin and in the 2x skin beside it.
    void CheckSkinNamesAPictureCutShortInEitherSkin() {
        ImagePackage skin;
        ImagePackage skin2x;
        AddWholeSkin(skin, 1);
        AddWholeSkin(skin2x, 2);
        Replace(skin, "NewNormal.jpg", CutShortJpeg(96, 32, false));
        Replace(skin2x, "About.jpg", CutShortJpeg(272, 152, true));
        skin.Save(File("Skin.dat").toStdString());
        skin2x.Save(File("Skin@2x.dat").toStdString());
        const Run damaged = Dat({"check-skin", "Skin.dat"});
        QCOMPARE(damaged.exitCode, 1);
        QCOMPARE(damaged.lines,
                 (QStringList{"NewNormal.jpg\tdamaged", "About.jpg\tdamaged in the 2x skin"}));
    }

    // Each package beside the skin is checked as the game checks it before taking it: a
    // picture the skin lacks or of another size, a 2x package not twice its 1x one, a 2x
    // package without its 1x one, a package that does not read.
    void CheckSkinNamesEveryBadLanguagePackage() {
        m_dir.Remove("Skin@2x.dat");
        ImagePackage skin;
        AddWholeSkin(skin, 1);
        skin.Save(File("Skin.dat").toStdString());
        ImagePackage german;
        ImagePackage german2x;
        for (const layout::SkinPicture& required : layout::kSkinPictures) {
            const std::string_view name = required.name;
            if (name != "NewNormal.jpg" && name != "About.jpg") continue;
            german.AddEntry(required.name, Jpeg(required.rect.Width(), required.rect.Height()));
            german2x.AddEntry(required.name,
                              Jpeg(required.rect.Width() * 2, required.rect.Height() * 2));
        }
        german.Save(File("Skin.de.dat").toStdString());
        german2x.Save(File("Skin@2x.de.dat").toStdString());
        const Run good = Dat({"check-skin", "Skin.dat"});
        QCOMPARE(good.exitCode, 0);
        QVERIFY(good.lines.isEmpty());

        german.Save(File("Skin.it.dat").toStdString());
        german.Remove("About.jpg");
        german.AddEntry("About.jpg", Jpeg(137, 76));
        german.AddEntry("Extra.jpg", Jpeg(10, 10));
        german.Save(File("Skin.de.dat").toStdString());
        german2x.Save(File("Skin@2x.fr.dat").toStdString());
        german2x.Remove("NewNormal.jpg");
        german2x.Save(File("Skin@2x.it.dat").toStdString());
        Write("Skin.ru.dat", QByteArray("\x05\x00\x00\x00", 4));
        const Run bad = Dat({"check-skin", "Skin.dat"});
        QCOMPARE(bad.exitCode, 1);
        QCOMPARE(bad.lines, (QStringList{"About.jpg\t137x76 in Skin.de.dat, expected 136x76",
                                         "Extra.jpg\tonly in Skin.de.dat",
                                         "NewNormal.jpg\tmissing from Skin@2x.it.dat"}));
        QVERIFY2(bad.errors.contains("Skin@2x.fr.dat: no Skin.fr.dat beside it"),
                 qPrintable(bad.errors));
        QVERIFY2(bad.errors.contains("Skin.ru.dat: damaged"), qPrintable(bad.errors));
    }

    // Every message the tool prints to a person passes through the catalogue, the problems of
    // check-skin and the reasons of solve included.
    void EveryMessageSpeaksThePlayersLanguage() {
        const QString tool = m_pseudoTool.filePath("corvalin-dat");
        QVERIFY(QFile::copy(CORVALIN_DAT_PATH, tool));
        QVERIFY(QDir(m_pseudoTool.path()).mkdir("locale"));
        QVERIFY(
            test::WritePseudoCatalogue(CORVALIN_TEXTS_TEMPLATE, m_pseudoTool.filePath("locale")));
        WriteSkinsWithEveryProblem();
        Write("pkg.dat", kWorkedPackage);
        Write("damaged.dat", QByteArray("\x05\x00\x00\x00", 4));
        struct Case {
            QStringList args;
            int nested = 1;
            bool whole = false;
        };
        const Case cases[] = {
            {{"--help"}, 1, true},
            {{"list"}, 1, true},
            {{"list", "nothing.dat"}},
            {{"list", "damaged.dat"}, 2},
            {{"extract", "pkg.dat", "None.jpg", "out.jpg"}},
            {{"add", "pkg.dat", "pkg.dat", QString(128, 'n')}},
            {{"scores", "nothing.dat"}},
            {{"import", "nowhere/Pic.dat", "pkg.dat"}},
            {{"check-skin", "every/Skin.dat"}},
            {{"check-skin", "languages/Skin.dat"}},
            {{"check-skin", "lone/Skin.dat"}},
            {{"check-skin", "unreadable/Skin.dat"}, 2},
            {{"solve", "2x3", "1", "0", "2", "10", "11", "-1"}},
            {{"solve", "2x2", "0", "0", "10", "-1"}},
            {{"solve", "2x2", "-1", "0", "10", "-1"}},
            {{"solve", "2x2", "0", "1", "10"}},
            {{"solve", "2x2", "0", "1", "55", "-1"}},
            {{"solve", "7x4", "--seed", "1"}},
            {{"solve", "3x4", "--seed", "x"}},
            {{"solve", "2x2", "0", "one", "10", "-1"}},
        };
        QProcessEnvironment pseudo;
        pseudo.insert("LANG", "C.UTF-8");
        pseudo.insert("LANGUAGE", "qaa");
        pseudo.insert("LC_ALL", "");
        pseudo.insert("LC_MESSAGES", "");
        for (const Case& test : cases) {
            const Run run = test::RunTool(tool, test.args,
                                          QString::fromStdString(m_dir.Dir().string()), pseudo);
            const QStringList faults = Untranslated(run, test.nested, test.whole);
            QVERIFY2(faults.isEmpty(), qPrintable(test.args.join(' ') + ":\n" + faults.join('\n')));
        }
    }

private:
    // Skins beside each other in folders of m_dir, between them every problem check-skin names.
    void WriteSkinsWithEveryProblem() const {
        ImagePackage skin;
        AddWholeSkin(skin, 1);
        for (const char* folder : {"every", "languages", "lone", "unreadable"}) {
            std::filesystem::create_directory(m_dir.Dir() / folder);
            skin.Save(m_dir.File(std::string(folder) + "/Skin.dat"));
        }
        ImagePackage broken;
        ImagePackage broken2x;
        AddWholeSkin(broken, 1);
        AddWholeSkin(broken2x, 2);
        for (ImagePackage* package : {&broken, &broken2x}) {
            package->Remove("CloseMouseOn.jpg");
            Replace(*package, "NewNormal.jpg", {0xff, 0xd8, 0xff});
            Replace(*package, "About.jpg", Jpeg(100, 76));
            Replace(*package, "GameNormal.jpg", CutShortJpeg(128, 76, false));
        }
        broken2x.AddEntry("Extra.jpg", Jpeg(10, 10));
        broken.Save(m_dir.File("every/Skin.dat"));
        broken2x.Save(m_dir.File("every/Skin@2x.dat"));

        ImagePackage german;
        german.AddEntry("NewNormal.jpg", {0xff, 0xd8, 0xff});
        german.AddEntry("About.jpg", Jpeg(100, 76));
        german.AddEntry("GameNormal.jpg", CutShortJpeg(128, 76, true));
        german.AddEntry("Extra.jpg", Jpeg(10, 10));
        german.Save(m_dir.File("languages/Skin.de.dat"));
        ImagePackage italian;
        italian.AddEntry("About.jpg", Jpeg(136, 76));
        italian.AddEntry("NewNormal.jpg", Jpeg(96, 32));
        italian.Save(m_dir.File("languages/Skin.it.dat"));
        italian.Remove("NewNormal.jpg");
        italian.Save(m_dir.File("languages/Skin@2x.it.dat"));
        italian.Save(m_dir.File("lone/Skin@2x.fr.dat"));
        Write("unreadable/Skin.ru.dat", QByteArray("\x05\x00\x00\x00", 4));
    }
};

QTEST_GUILESS_MAIN(CorvalinDatTest)
#include "CorvalinDatTest.moc"
