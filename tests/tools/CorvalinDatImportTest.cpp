#include <QFile>
#include <QImage>
#include <QTest>
#include <optional>

#include "core/package/ImagePackage.h"
#include "support/ScopedTmpDir.h"
#include "support/qt/TestImages.h"
#include "support/qt/ToolRun.h"

namespace {

using Run = test::ToolRun;

}  // namespace

class CorvalinDatImportTest : public QObject {
    Q_OBJECT

private:
    std::optional<test::DataFolder> m_dir;
    std::optional<test::ScopedTmpDir> m_tmpDir;  // the tool inherits it

    QString File(const QString& name) const {
        return QString::fromStdString(m_dir->File(name.toStdString()));
    }

    void WriteImage(const QString& name, const QSize& size, const char* format) const {
        test::WriteImage(*m_dir, name.toStdString(),
                         test::Solid(size.width(), size.height(), qRgb(30, 120, 200)), format);
    }

    void WriteText(const QString& name, const QByteArray& text) const {
        m_dir->WriteBytes(name.toStdString(), {text.begin(), text.end()});
    }

    Run Import(const QStringList& images) const {
        return test::RunTool(CORVALIN_DAT_PATH, QStringList{"import", "Pic.dat"} + images,
                             QString::fromStdString(m_dir->Dir().string()));
    }

private slots:
    void init() {
        m_dir.emplace();
        m_tmpDir.emplace();
    }

    void cleanup() {
        const std::vector<std::string> scratch = m_tmpDir->Entries();
        m_tmpDir.reset();
        m_dir.reset();
        QVERIFY(scratch.empty());
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
        QCOMPARE(m_dir->PackageNames(), (std::vector<std::string>{"Beach.jpg", "beach.jpg"}));
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
        QCOMPARE(m_dir->PackageNames(),
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
