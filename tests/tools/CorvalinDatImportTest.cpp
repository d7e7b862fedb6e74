#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>

#include "core/package/ImagePackage.h"
#include "support/ChildProcess.h"
#include "support/ScopedTmpDir.h"
#include "support/qt/HeifBytes.h"
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
                auto& import = imports.emplace_back(std::make_unique<QProcess>());
                import->setWorkingDirectory(QString::fromStdString(m_dir->Dir().string()));
                QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
                environment.remove("DISPLAY");
                environment.remove("QT_QPA_PLATFORM");
                import->setProcessEnvironment(environment);
                import->start(CORVALIN_DAT_PATH, QStringList{"import", "Pic.dat", name + ".png"});
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

    void AHeifPictureIsAdded() {
        m_dir->WriteBytes("Bay.heic", test::HeifBytes(test::Solid(64, 48, qRgb(30, 120, 200)),
                                                      heif_compression_HEVC));
        QCOMPARE(Import({"Bay.heic"}).lines, QStringList{"Bay.heic\tadded as Bay.jpg"});
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

    // The damaged original is kept aside whole, and the library goes on with what reads whole.
    void ADamagedLibraryIsKeptAsideAndWrittenWithItsWholeEntries() {
        ImagePackage library;
        library.AddEntry("Harbour.jpg", {1, 2, 3, 4});
        library.AddEntry("Reef.jpg", {5, 6, 7, 8});
        library.Save(m_dir->File("Pic.dat"));
        std::vector<std::uint8_t> damaged = m_dir->Bytes("Pic.dat");
        damaged.resize(damaged.size() - 2);  // Reef.jpg cut short
        m_dir->WriteBytes("Pic.dat", damaged);
        WriteImage("Beach.bmp", QSize(40, 30), "BMP");

        const Run run = Import({"Beach.bmp"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.lines, QStringList{"Beach.bmp\tadded as Beach.jpg"});
        QVERIFY(run.errors.contains("damaged"));
        QCOMPARE(m_dir->Bytes("Pic.dat.damaged"), damaged);
        QVERIFY(library.Load(m_dir->File("Pic.dat")));  // whole
        QCOMPARE(m_dir->PackageNames(), (std::vector<std::string>{"Harbour.jpg", "Beach.jpg"}));
    }

    // The game's folder: an installed library of Harbour.jpg and Reef.jpg, corvalin-dat and the
    // decoder, with Beach.bmp to import beside it. The tool's path: a copy finds its own folder.
    QString InstallGame() const {
        QDir(File("")).mkdir("game");
        ImagePackage installed;
        installed.AddEntry("Harbour.jpg", {1, 2, 3});
        installed.AddEntry("Reef.jpg", {4, 5, 6});
        installed.Save(m_dir->File("game/Pic.dat"));
        const QString tool = File("game/corvalin-dat");
        QFile::copy(CORVALIN_DAT_PATH, tool);
        QFile::link(QFileInfo(CORVALIN_DAT_PATH).dir().filePath("corvalin-decode"),
                    File("game/corvalin-decode"));
        WriteImage("Beach.bmp", QSize(40, 30), "BMP");
        return tool;
    }

    // A game installed in a folder of the player's keeps its library beside it; so does the tool
    // installed with it.
    void TheLibraryFormAddsToTheLibraryBesideTheGame() {
        const Run run =
            test::RunTool(InstallGame(), {"import", "--library", "Beach.bmp"}, File(""));
        QCOMPARE(run.lines, QStringList{"Beach.bmp\tadded as Beach.jpg"});
        QCOMPARE(m_dir->PackageNames("game/Pic.dat"),
                 (std::vector<std::string>{"Harbour.jpg", "Reef.jpg", "Beach.jpg"}));
        QVERIFY(!QFile::exists(File("Pic.dat")));
    }

    // A game installed where the player cannot write: the library form reads and writes the
    // player's own library in the data folder, the installed one untouched, whether the player
    // has a library yet or not. As root the tool runs as nobody, a second player.
    void ThePlayersLibraryIsTheirOwnWhereTheGamesFolderIsNotTheirs_data() {
        QTest::addColumn<bool>("hasOwn");
        QTest::newRow("the first import") << false;
        QTest::newRow("a library of their own") << true;
    }

    void ThePlayersLibraryIsTheirOwnWhereTheGamesFolderIsNotTheirs() {
        QFETCH(bool, hasOwn);
        namespace fs = std::filesystem;
        const bool asNobody = ::geteuid() == 0;
        const QString tool = InstallGame();
        const std::vector<std::uint8_t> installed = m_dir->Bytes("game/Pic.dat");
        QVERIFY(QDir(File("")).mkpath("home/corvalin") && QDir(File("")).mkpath("home/tmp"));
        if (hasOwn) m_dir->WritePackage("home/corvalin/Pic.dat", {{"Mine.jpg", {7, 8, 9}}});
        // Everyone may read the test's folder and the game's; only the home is the player's.
        fs::permissions(m_dir->Dir(),
                        fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read |
                            fs::perms::others_exec,
                        fs::perm_options::add);
        if (asNobody) {
            for (const auto& entry : fs::recursive_directory_iterator(m_dir->File("home")))
                QCOMPARE(::chown(entry.path().c_str(), test::kNobody, test::kNobody), 0);
            QCOMPARE(::chown(m_dir->File("home").c_str(), test::kNobody, test::kNobody), 0);
        } else {
            fs::permissions(m_dir->File("game"), fs::perms::owner_write, fs::perm_options::remove);
        }

        QProcessEnvironment player;
        player.insert("XDG_DATA_HOME", File("home"));
        player.insert("TMPDIR", File("home/tmp"));
        const Run run = test::RunTool(tool, {"import", "--library", "Beach.bmp"}, File(""), player,
                                      asNobody ? test::BecomeNobody : nullptr);
        fs::permissions(m_dir->File("game"), fs::perms::owner_write, fs::perm_options::add);
        QCOMPARE(run.errors, QString());
        QCOMPARE(run.lines, QStringList{"Beach.bmp\tadded as Beach.jpg"});
        QCOMPARE(m_dir->PackageNames("home/corvalin/Pic.dat"),
                 hasOwn ? (std::vector<std::string>{"Mine.jpg", "Beach.jpg"})
                        : (std::vector<std::string>{"Harbour.jpg", "Reef.jpg", "Beach.jpg"}));
        QCOMPARE(m_dir->Bytes("game/Pic.dat"), installed);
        QCOMPARE(QDir(File("game")).entryList(QDir::Files, QDir::Name),
                 (QStringList{"Pic.dat", "corvalin-dat", "corvalin-decode"}));
    }

    void APackageWhoseFolderIsMissingIsRefusedPlainly() {
        WriteImage("Beach.bmp", QSize(40, 30), "BMP");
        const Run run =
            test::RunTool(CORVALIN_DAT_PATH, {"import", "none/Pic.dat", "Beach.bmp"}, File(""));
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.errors, "corvalin-dat: none/Pic.dat: the folder none does not exist\n");
        QVERIFY(!QFile::exists(File("none")));
    }

    // Once, with where it should be, and not as a fault of each image.
    // What lies where the decoder belongs: nothing, a damaged file, or the decoder without the
    // decoder of every format it hands the other formats to.
    void AMissingOrDamagedDecoderIsSaidOnceAndNothingIsAdded_data() {
        QTest::addColumn<QString>("decoder");
        QTest::newRow("missing") << "";
        QTest::newRow("damaged") << "no program\n";
        QTest::newRow("without its decoder of every format") << "corvalin-decode";
    }

    void AMissingOrDamagedDecoderIsSaidOnceAndNothingIsAdded() {
        QFETCH(QString, decoder);
        // The programs find their folder through their own files, so copies, not links.
        const QString tool = File("corvalin-dat");
        QVERIFY(QFile::copy(CORVALIN_DAT_PATH, tool));
        if (decoder == "corvalin-decode") {
            QVERIFY(QFile::copy(QFileInfo(CORVALIN_DAT_PATH).dir().filePath(decoder),
                                File("corvalin-decode")));
        } else if (!decoder.isEmpty()) {
            WriteText("corvalin-decode", decoder.toUtf8());
            QVERIFY(
                QFile::setPermissions(File("corvalin-decode"), QFile::ReadOwner | QFile::ExeOwner));
        }
        for (const char* name : {"Bay.heic", "Cove.heic"})
            m_dir->WriteBytes(name, test::HeifBytes(test::Solid(64, 48, qRgb(30, 120, 200)),
                                                    heif_compression_HEVC));
        const Run run =
            test::RunTool(tool, {"import", "Pic.dat", "Bay.heic", "Cove.heic"}, File(""));
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.lines, QStringList());
        // The program missing is the one named: the decoder of every format when only it is.
        const QString missing =
            decoder == "corvalin-decode" ? "corvalin-decode-all" : "corvalin-decode";
        QCOMPARE(run.errors, "corvalin-dat: The picture decoder " + File(missing) +
                                 " is missing or damaged; reinstall Corvalin.\n");
        QVERIFY(!QFile::exists(File("Pic.dat")));
    }

    void WithoutImagesItIsAUsageError() {
        QCOMPARE(Import({}).exitCode, 2);
        QVERIFY(!QFile::exists(File("Pic.dat")));
    }
};

QTEST_GUILESS_MAIN(CorvalinDatImportTest)
#include "CorvalinDatImportTest.moc"
