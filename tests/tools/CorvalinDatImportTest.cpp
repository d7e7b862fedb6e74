#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <memory>

#include "core/package/ImagePackage.h"

namespace {

struct Run {
    int exitCode = -1;
    QStringList lines;
    QString errors;
};

}  // namespace

class CorvalinDatImportTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_scratchParent;

    QString File(const QString& name) const { return m_dir.filePath(name); }

    void WriteImage(const QString& name, const QSize& size, const char* format) const {
        QImage image(size, QImage::Format_RGB32);
        image.fill(qRgb(30, 120, 200));
        QVERIFY(image.save(File(name), format));
    }

    void WriteText(const QString& name, const QByteArray& text) const {
        QFile file(File(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    // Sets process up to run corvalin-dat in the test's folder, with scratch files of its own.
    void Prepare(QProcess& process) const {
        process.setWorkingDirectory(m_dir.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TMPDIR", m_scratchParent.path());
        environment.remove("DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        process.setProcessEnvironment(environment);
    }

    Run Import(const QStringList& images) const {
        QProcess process;
        Prepare(process);
        process.start(CORVALIN_DAT_PATH, QStringList{"import", "Pic.dat"} + images);
        Run run;
        if (!process.waitForFinished(60000)) return run;
        run.exitCode = process.exitCode();
        run.lines =
            QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        run.errors = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    std::vector<std::string> PackageNames() const {
        ImagePackage package;
        package.Load(File("Pic.dat").toStdString());
        std::vector<std::string> names;
        package.GetNames(names);
        return names;
    }

private slots:
    void EightImportsAtOnceKeepEveryPicture() {
        constexpr int kRounds = 3;
        constexpr int kAtOnce = 8;
        std::vector<std::string> expected;
        for (int round = 0; round < kRounds; ++round) {
            std::vector<std::unique_ptr<QProcess>> imports;
            for (int i = 0; i < kAtOnce; ++i) {
                const QString name = QStringLiteral("Picture%1-%2").arg(round).arg(i);
                WriteImage(name + ".png", QSize(40, 30), "PNG");
                expected.push_back(name.toStdString() + ".jpg");
                imports.push_back(std::make_unique<QProcess>());
                Prepare(*imports.back());
                imports.back()->start(CORVALIN_DAT_PATH,
                                      QStringList{"import", "Pic.dat", name + ".png"});
            }
            for (auto& import : imports) {
                QVERIFY(import->waitForFinished(60000));
                QCOMPARE(import->exitCode(), 0);
            }
        }
        ImagePackage package;
        QVERIFY(package.Load(File("Pic.dat").toStdString()));
        std::vector<std::string> names;
        package.GetNames(names);
        std::sort(names.begin(), names.end());
        std::sort(expected.begin(), expected.end());
        QCOMPARE(names, expected);
    }

    void init() {
        for (const QString& name : QDir(m_dir.path()).entryList(QDir::Files))
            QFile::remove(File(name));
    }

    void cleanup() {
        QVERIFY(QDir(m_scratchParent.path())
                    .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    }

    void ImagesAreTakenInOrderWithTheGamesRules() {
        WriteImage("Beach.bmp", QSize(1024, 768), "BMP");
        WriteImage("beach.png", QSize(64, 48), "PNG");
        WriteText("notes.txt", "not a picture\n");
        const QString longName = QString(124, 'x') + ".bmp";
        WriteImage(longName, QSize(8, 6), "BMP");
        const Run run =
            Import({"Beach.bmp", "Beach.bmp", "notes.txt", "beach.png", longName, "missing.jpg"});
        const QString duplicate =
            "refused: A file with the desired name already exists in the library. "
            "please use a different name and try again.!";
        QCOMPARE(run.lines, (QStringList{
                                "Beach.bmp\tadded as Beach.jpg",
                                "Beach.bmp\t" + duplicate,
                                "notes.txt\trefused: Invalid file!",
                                "beach.png\tadded as beach.jpg",
                                longName + "\trefused: The file name is too long for the library. "
                                           "please use a shorter name and try again.",
                                "missing.jpg\trefused: Invalid file!",
                            }));
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(PackageNames(), (std::vector<std::string>{"Beach.jpg", "beach.jpg"}));
        ImagePackage package;
        QVERIFY(package.Load(File("Pic.dat").toStdString()));
        const std::vector<std::uint8_t>& jpeg = *package.FindData("Beach.jpg");
        QImage stored;
        QVERIFY(stored.loadFromData(jpeg.data(), static_cast<int>(jpeg.size()), "JPG"));
        QCOMPARE(stored.size(), QSize(400, 300));
    }

    void AllAcceptedExitsZeroAndAppendsToTheLibrary() {
        WriteImage("Harbour.jpg", QSize(400, 300), "JPG");
        QCOMPARE(Import({"Harbour.jpg"}).exitCode, 0);
        WriteImage("Forest.bmp", QSize(40, 30), "BMP");
        WriteImage("Hills", QSize(40, 30), "PNG");
        const Run run = Import({"Forest.bmp", "Hills"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.lines,
                 (QStringList{"Forest.bmp\tadded as Forest.jpg", "Hills\tadded as Hills.jpg"}));
        QCOMPARE(PackageNames(),
                 (std::vector<std::string>{"Harbour.jpg", "Forest.jpg", "Hills.jpg"}));
    }

    void ADamagedLibraryIsLeftAlone() {
        WriteText("Pic.dat", QByteArray("\x05\x00\x00\x00\x01", 5));
        WriteImage("Beach.bmp", QSize(40, 30), "BMP");
        const Run run = Import({"Beach.bmp"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.lines.isEmpty());
        QVERIFY(run.errors.contains("not changed"));
        QFile file(File("Pic.dat"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("\x05\x00\x00\x00\x01", 5));
    }

    void WithoutImagesItIsAUsageError() {
        QCOMPARE(Import({}).exitCode, 2);
        QVERIFY(!QFile::exists(File("Pic.dat")));
    }
};

QTEST_GUILESS_MAIN(CorvalinDatImportTest)
#include "CorvalinDatImportTest.moc"
