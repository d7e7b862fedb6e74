#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QPainter>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <optional>

#include "core/io/FileError.h"
#include "core/io/FileIO.h"
#include "core/library/ScratchDirectory.h"
#include "core/picture/BitmapFile.h"
#include "core/picture/DecodeLimits.h"
#include "library/PictureImport.h"
#include "skin/SkinImage.h"
#include "support/ChildProcess.h"
#include "support/ScopedTmpDir.h"
#include "support/qt/TestImages.h"

namespace {

std::uint32_t Field32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::uint16_t Field16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

// Left half red, right half blue: shows that the whole image is stretched, not cropped.
QImage HalvesImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(220, 20, 20));
    QPainter painter(&image);
    painter.fillRect(width / 2, 0, width - width / 2, height, qRgb(20, 20, 220));
    return image;
}

bool Near(QRgb actual, QRgb expected, int tolerance = 12) {
    return qAbs(qRed(actual) - qRed(expected)) <= tolerance &&
           qAbs(qGreen(actual) - qGreen(expected)) <= tolerance &&
           qAbs(qBlue(actual) - qBlue(expected)) <= tolerance;
}

std::vector<std::uint8_t> Cut(std::vector<std::uint8_t> bytes, std::size_t keep) {
    bytes.resize(keep);
    return bytes;
}

// A whole answer of 400 x 300 black pixels, as printf and head write it, on any input but an
// empty one, which it refuses as every decoder does.
constexpr char kAnswersAnything[] =
    "[ \"$(head -c 1 | wc -c)\" = 0 ] && { printf 'CVR1empty'; exit 0; }\n"
    "printf 'CVP1\\220\\001\\054\\001'; head -c 360000 /dev/zero\n";

// Leaves this process in namespaces of its own with an empty /proc over the real one, so that
// the program cannot read its own path. False where namespaces cannot be made.
bool HideProc() {
    const std::string user = std::to_string(::getuid());
    const std::string group = std::to_string(::getgid());
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
    std::ofstream("/proc/self/setgroups") << "deny";
    std::ofstream("/proc/self/uid_map") << "0 " << user << " 1";
    std::ofstream("/proc/self/gid_map") << "0 " << group << " 1";
    return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           ::mount("none", "/proc", "tmpfs", 0, nullptr) == 0;
}

// An image's pixels as the decoder answers them: rows top first, red, green, blue.
std::vector<std::uint8_t> RgbOf(const QImage& image) {
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            rgb.insert(rgb.end(), {static_cast<std::uint8_t>(qRed(pixel)),
                                   static_cast<std::uint8_t>(qGreen(pixel)),
                                   static_cast<std::uint8_t>(qBlue(pixel))});
        }
    return rgb;
}

std::vector<std::uint8_t> BitmapFileBytes(const QImage& image) {
    return ::BitmapFileBytes(RgbOf(image), image.width(), image.height());
}

bool WriteBitmapFile(const QImage& image, const std::string& path) {
    return ::WriteBitmapFile(RgbOf(image), image.width(), image.height(), path);
}

}  // namespace

class PictureImportTest : public QObject {
    Q_OBJECT

private:
    test::DataFolder m_files;
    std::optional<test::ScopedTmpDir> m_tmpDir;  // what the import sees as the temporary folder

    std::vector<std::string> ScratchLeft() const { return m_tmpDir->Entries(); }

    // A stand-in for the decoder, as a shell script: what a broken or taken-over one might do.
    std::string Decoder(const std::string& name, const std::string& body, int mode = 0755) {
        const std::string script = "#!/bin/sh\n" + body + "\n";
        const std::string path = m_files.WriteBytes(name, {script.begin(), script.end()});
        ::chmod(path.c_str(), static_cast<mode_t>(mode));
        return path;
    }

private slots:
    void init() { m_tmpDir.emplace(); }

    void cleanup() { m_tmpDir.reset(); }

    void LibraryNameIsTheTitleUpToTheLastDotPlusJpg() {
        QCOMPARE(LibraryNameFor("/photos/Beach.bmp"), std::string("Beach.jpg"));
        QCOMPARE(LibraryNameFor("Beach.jpg"), std::string("Beach.jpg"));
        QCOMPARE(LibraryNameFor("/photos/Beach"), std::string("Beach.jpg"));
        QCOMPARE(LibraryNameFor("/my.photos/Beach"), std::string("Beach.jpg"));
        QCOMPARE(LibraryNameFor("/photos/Sea.side.jpeg"), std::string("Sea.side.jpg"));
        QCOMPARE(LibraryNameFor("/photos/.bmp"), std::string(".jpg"));
    }

    void BitmapFileOf400By300IsThe24BitFileOf360054Bytes() {
        QImage image = test::Solid(400, 300, qRgb(1, 2, 3));
        image.setPixel(0, 299, qRgb(10, 20, 30));  // bottom-left: the first pixel stored
        image.setPixel(399, 0, qRgb(40, 50, 60));  // top-right: the last pixel stored
        const std::vector<std::uint8_t> bytes = BitmapFileBytes(image);
        QCOMPARE(bytes.size(), std::size_t(360054));
        QCOMPARE(bytes[0], std::uint8_t('B'));
        QCOMPARE(bytes[1], std::uint8_t('M'));
        QCOMPARE(Field32(bytes, 2), 360054u);
        QCOMPARE(Field32(bytes, 6), 0u);
        QCOMPARE(Field32(bytes, 10), 54u);
        QCOMPARE(Field32(bytes, 14), 40u);
        QCOMPARE(Field32(bytes, 18), 400u);
        QCOMPARE(Field32(bytes, 22), 300u);
        QCOMPARE(Field16(bytes, 26), std::uint16_t(1));
        QCOMPARE(Field16(bytes, 28), std::uint16_t(24));
        for (std::size_t at = 30; at < 54; at += 4) QCOMPARE(Field32(bytes, at), 0u);
        // Blue, green, red; bottom row first.
        QCOMPARE((std::vector<std::uint8_t>(bytes.begin() + 54, bytes.begin() + 60)),
                 (std::vector<std::uint8_t>{30, 20, 10, 3, 2, 1}));
        QCOMPARE((std::vector<std::uint8_t>(bytes.end() - 3, bytes.end())),
                 (std::vector<std::uint8_t>{60, 50, 40}));
    }

    void BitmapRowsArePaddedWithZerosToFourBytes() {
        const std::vector<std::uint8_t> bytes =
            BitmapFileBytes(test::Solid(3, 2, qRgb(255, 255, 255)));
        // 3 pixels = 9 bytes, padded to 12 per row.
        QCOMPARE(bytes.size(), std::size_t(54 + 2 * 12));
        QCOMPARE(Field32(bytes, 2), 78u);
        for (std::size_t row = 0; row < 2; ++row) {
            const std::size_t start = 54 + row * 12;
            for (std::size_t i = 0; i < 9; ++i) QCOMPARE(bytes[start + i], std::uint8_t(255));
            for (std::size_t i = 9; i < 12; ++i) QCOMPARE(bytes[start + i], std::uint8_t(0));
        }
    }

    void WrittenBitmapFileDecodesToTheSamePixels() {
        const QImage image = HalvesImage(400, 300);
        const std::string path = m_files.File("written.bmp");
        QVERIFY(WriteBitmapFile(image, path));
        QCOMPARE(*ReadWholeFile(path), BitmapFileBytes(image));
        QCOMPARE(QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32), image);
    }

    void WritingABitmapWhereNoFileCanBeMadeFails() {
        QVERIFY(!WriteBitmapFile(HalvesImage(4, 4), m_files.File("no-such-dir/x.bmp")));
    }

    void ScratchDirectoryIsPrivateAndGoesWithItsFiles() {
        std::string path;
        {
            ScratchDirectory scratch("corvalin-test-");
            path = scratch.Path();
            QVERIFY(path.starts_with(m_tmpDir->Path() + "/corvalin-test-"));
            struct stat info {};
            QCOMPARE(::stat(path.c_str(), &info), 0);
            QVERIFY(S_ISDIR(info.st_mode));
            QCOMPARE(info.st_mode & 0777, mode_t(0700));
            std::ofstream(path + "a.bmp") << "x";
            std::ofstream(path + "a.jpg") << "y";
        }
        struct stat info {};
        QVERIFY(::stat(path.c_str(), &info) != 0);
        QVERIFY(ScratchLeft().empty());
    }

    void ScratchDirectoryThatCannotBeMadeThrows() {
        m_tmpDir->PointAtMissingFolder();
        QVERIFY_THROWS_EXCEPTION(FileError, ScratchDirectory("corvalin-test-"));
    }

    void LargeImageIsStretchedWholeTo400By300Jpeg() {
        const std::string path =
            test::WriteImage(m_files, "Beach.bmp", HalvesImage(1024, 768), "BMP");
        const ImportedPicture picture =
            PreparePicture(path, {"First.jpg", "Second.jpg", "Third.jpg"}, ConvertPicture);
        QVERIFY(picture.Accepted());
        QCOMPARE(picture.libraryName, std::string("Beach.jpg"));
        QCOMPARE(RefusalMessage(picture), QString());
        QCOMPARE(picture.jpeg[0], std::uint8_t(0xFF));
        QCOMPARE(picture.jpeg[1], std::uint8_t(0xD8));
        QImage stored;
        QVERIFY(
            stored.loadFromData(picture.jpeg.data(), static_cast<int>(picture.jpeg.size()), "JPG"));
        QCOMPARE(stored.size(), QSize(400, 300));
        QVERIFY(Near(stored.pixel(2, 2), qRgb(220, 20, 20)));
        QVERIFY(Near(stored.pixel(195, 297), qRgb(220, 20, 20)));
        QVERIFY(Near(stored.pixel(205, 2), qRgb(20, 20, 220)));
        QVERIFY(Near(stored.pixel(397, 297), qRgb(20, 20, 220)));
        QVERIFY(ScratchLeft().empty());
    }

    void StoredJpegIsTheStretchedPictureAtTheDefaultQuality() {
        const QImage exact = HalvesImage(400, 300);
        const std::string path = test::WriteImage(m_files, "Exact.bmp", exact, "BMP");
        const ImportedPicture picture = PreparePicture(path, {}, ConvertPicture);
        QVERIFY(picture.Accepted());
        // The file Qt's JPEG writer makes with its defaults; its header states 100 dots an
        // inch, whatever the screen's.
        QImage at100Dpi = exact;
        at100Dpi.setDotsPerMeterX(3937);
        at100Dpi.setDotsPerMeterY(3937);
        QCOMPARE(picture.jpeg, test::Encode(at100Dpi, "JPG"));
    }

    void SmallAndJpegAndPngImagesAreAccepted_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QSize>("size");
        QTest::newRow("small bmp") << "Tiny.bmp"
                                   << "BMP" << QSize(8, 6);
        QTest::newRow("jpeg") << "Photo.jpg"
                              << "JPG" << QSize(1600, 1200);
        QTest::newRow("png named txt") << "Drawing.txt"
                                       << "PNG" << QSize(640, 480);
    }

    void SmallAndJpegAndPngImagesAreAccepted() {
        QFETCH(QString, name);
        QFETCH(QString, format);
        QFETCH(QSize, size);
        const std::string path =
            test::WriteImage(m_files, name.toStdString(), HalvesImage(size.width(), size.height()),
                             format.toLatin1().constData());
        const ImportedPicture picture = PreparePicture(path, {}, ConvertPicture);
        QVERIFY(picture.Accepted());
        QImage stored;
        QVERIFY(stored.loadFromData(picture.jpeg.data(), static_cast<int>(picture.jpeg.size())));
        QCOMPARE(stored.size(), QSize(400, 300));
        QVERIFY(Near(stored.pixel(10, 150), qRgb(220, 20, 20), 24));
        QVERIFY(Near(stored.pixel(390, 150), qRgb(20, 20, 220), 24));
    }

    void TransparentPixelsBecomeBlack() {
        QImage image(40, 30, QImage::Format_ARGB32);
        image.fill(qRgba(0, 0, 0, 0));
        const std::string path = test::WriteImage(m_files, "Clear.png", image, "PNG");
        const ImportedPicture picture = PreparePicture(path, {}, ConvertPicture);
        QVERIFY(picture.Accepted());
        QImage stored;
        QVERIFY(stored.loadFromData(picture.jpeg.data(), static_cast<int>(picture.jpeg.size())));
        QVERIFY(Near(stored.pixel(200, 150), qRgb(0, 0, 0), 4));
    }

    void DuplicateNamesAreRefusedCaseSensitively_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("refused");
        QTest::newRow("same jpg") << "Beach.jpg" << true;
        QTest::newRow("same title, bmp") << "Beach.bmp" << true;
        QTest::newRow("same title, jpeg") << "Beach.jpeg" << true;
        QTest::newRow("same title, no extension") << "Beach" << true;
        QTest::newRow("other case") << "beach.bmp" << false;
        QTest::newRow("longer title") << "Beaches.bmp" << false;
    }

    void DuplicateNamesAreRefusedCaseSensitively() {
        QFETCH(QString, file);
        QFETCH(bool, refused);
        const std::string path =
            test::WriteImage(m_files, file.toStdString(), HalvesImage(40, 30), "BMP");
        const ImportedPicture picture =
            PreparePicture(path, {"Harbour.jpg", "Beach.jpg"}, ConvertPicture);
        QCOMPARE(picture.refusal, refused ? ImportRefusal::DuplicateName : ImportRefusal::None);
        QCOMPARE(picture.jpeg.empty(), refused);
        if (refused)
            QCOMPARE(RefusalMessage(picture),
                     QString("A file with the desired name already exists in the library.\n"
                             "please use a different name and try again.!"));
    }

    void FileNameCutLikeAShownNameIsADuplicateBeforeAnyDecoding() {
        // "Beach.png" less four bytes is "Beach", the shown name of "Beach.jpg"; the file is
        // refused as a duplicate even though it is not an image at all.
        const std::string path = m_files.WriteBytes("Beach.png", {'n', 'o'});
        QCOMPARE(PreparePicture(path, {"Beach.jpg"}, ConvertPicture).refusal,
                 ImportRefusal::DuplicateName);
    }

    void LibraryNameOver127BytesIsRefused() {
        const std::string longest = std::string(123, 'a') + ".bmp";  // gives a 127-byte name
        const std::string tooLong = std::string(124, 'b') + ".bmp";
        const QImage image = HalvesImage(40, 30);
        const ImportedPicture fits =
            PreparePicture(test::WriteImage(m_files, longest, image, "BMP"), {}, ConvertPicture);
        QVERIFY(fits.Accepted());
        QCOMPARE(fits.libraryName.size(), std::size_t(127));
        const ImportedPicture refused =
            PreparePicture(test::WriteImage(m_files, tooLong, image, "BMP"), {}, ConvertPicture);
        QCOMPARE(refused.refusal, ImportRefusal::NameTooLong);
        QCOMPARE(RefusalMessage(refused),
                 QString("The file name is too long for the library.\nplease use a shorter name "
                         "and try again."));
    }

    void FilesThatAreNoWholeImageAreInvalid_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("bytes");
        const std::vector<std::uint8_t> jpeg = test::Encode(HalvesImage(640, 480), "JPG");
        const std::vector<std::uint8_t> bmp = test::Encode(HalvesImage(64, 48), "BMP");
        auto bytesOf = [](const std::vector<std::uint8_t>& v) {
            return QByteArray(reinterpret_cast<const char*>(v.data()),
                              static_cast<qsizetype>(v.size()));
        };
        QTest::newRow("text") << QByteArray("notes.txt") << QByteArray("just some words\n");
        QTest::newRow("empty") << QByteArray("empty.bmp") << QByteArray();
        QTest::newRow("jpeg cut in half")
            << QByteArray("half.jpg") << bytesOf(Cut(jpeg, jpeg.size() / 2));
        QTest::newRow("bmp cut short")
            << QByteArray("short.bmp") << bytesOf(Cut(bmp, bmp.size() - 100));
        QTest::newRow("bmp headers only") << QByteArray("headers.bmp") << bytesOf(Cut(bmp, 54));
    }

    void FilesThatAreNoWholeImageAreInvalid() {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, bytes);
        const std::string path =
            m_files.WriteBytes(name.toStdString(), {bytes.begin(), bytes.end()});
        const ImportedPicture picture = PreparePicture(path, {"Beach.jpg"}, ConvertPicture);
        QCOMPARE(picture.refusal, ImportRefusal::InvalidFile);
        QVERIFY(picture.jpeg.empty());
        QCOMPARE(RefusalMessage(picture), QString("Invalid file!"));
        QVERIFY(ScratchLeft().empty());
    }

    void MissingFileAndDirectoryAreInvalid() {
        QCOMPARE(PreparePicture(m_files.File("nothing-here.bmp"), {}, ConvertPicture).refusal,
                 ImportRefusal::InvalidFile);
        QDir(QString::fromStdString(m_files.Path())).mkdir("folder.bmp");
        QCOMPARE(PreparePicture(m_files.File("folder.bmp"), {}, ConvertPicture).refusal,
                 ImportRefusal::InvalidFile);
    }

    void JpegDeclaringAHugeSizeIsInvalid() {
        std::vector<std::uint8_t> jpeg = test::Encode(HalvesImage(64, 48), "JPG");
        // The frame header (FF C0, length, precision) holds height and width, 16 bits each.
        for (std::size_t i = 0; i + 8 < jpeg.size(); ++i) {
            if (jpeg[i] != 0xFF || jpeg[i + 1] != 0xC0) continue;
            jpeg[i + 5] = 0xEA;  // 60000 = 0xEA60
            jpeg[i + 6] = 0x60;
            jpeg[i + 7] = 0xEA;
            jpeg[i + 8] = 0x60;
            break;
        }
        const std::string path = m_files.WriteBytes("Huge.jpg", jpeg);
        QCOMPARE(PreparePicture(path, {}, ConvertPicture).refusal, ImportRefusal::InvalidFile);
    }

    void CancelledBeforeTheDecoderAnswersRefusesWithoutAMessage() {
        const std::string path = test::WriteImage(m_files, "Fine.bmp", HalvesImage(40, 30), "BMP");
        const ImportedPicture picture = CancellableConverter([] { return false; })(path);
        QCOMPARE(picture.refusal, ImportRefusal::Cancelled);
        QVERIFY(picture.jpeg.empty());
        QCOMPARE(RefusalMessage(picture), QString());
    }

    // Only a whole answer of a decoder that ended cleanly: one killed after it answered may have
    // been stopped from telling anything else.
    void AnAnswerCountsOnlyFromADecoderThatEndedCleanly_data() {
        QTest::addColumn<QString>("end");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("exits") << "exit 0" << true;
        QTest::newRow("is killed") << "kill -9 $$" << false;
        QTest::newRow("fails") << "exit 1" << false;
    }

    void AnAnswerCountsOnlyFromADecoderThatEndedCleanly() {
        QFETCH(QString, end);
        QFETCH(bool, accepted);
        const std::string decoder =
            Decoder("answers-then.sh", kAnswersAnything + end.toStdString());
        const std::string path = test::WriteImage(m_files, "Fine.bmp", HalvesImage(40, 30), "BMP");
        const ImportedPicture picture = ConverterWith(decoder)(path);
        QCOMPARE(picture.Accepted(), accepted);
        if (!accepted) QCOMPARE(picture.refusal, ImportRefusal::InvalidFile);
    }

    // What is no regular file may never end (a pipe, a device), and a larger file is no photo:
    // the decoder never sees either.
    void OnlyARegularFileOfAtMost256MBReachesTheDecoder_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("pipe") << "pipe";
        QTest::newRow("device") << "/dev/zero";
        QTest::newRow("larger than 256 MB") << "large.bmp";
    }

    void OnlyARegularFileOfAtMost256MBReachesTheDecoder() {
        QFETCH(QString, file);
        const std::string pipe = m_files.File("pipe");
        if (!std::filesystem::exists(pipe)) QCOMPARE(::mkfifo(pipe.c_str(), 0600), 0);
        std::filesystem::resize_file(
            test::WriteImage(m_files, "large.bmp", HalvesImage(40, 30), "BMP"),
            kMaxPictureFileBytes + 1);
        const std::string ran = m_files.File("ran");
        const std::string decoder = Decoder("marks.sh", "touch " + ran + "\n" + kAnswersAnything);
        const std::string path =
            file.startsWith('/') ? file.toStdString() : m_files.File(file.toStdString());
        QCOMPARE(ConverterWith(decoder)(path).refusal, ImportRefusal::InvalidFile);
        QVERIFY(!std::filesystem::exists(ran));
    }

    // Said plainly and with its place, not as if the picture were at fault.
    void ADecoderThatCannotRunIsMissingOrDamaged_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("mode");
        QTest::newRow("missing") << "absent" << QString() << 0;
        QTest::newRow("not executable") << "unexecutable.sh"
                                        << "exit 0" << 0644;
        QTest::newRow("failing on every input") << "failing.sh"
                                                << "exit 127" << 0755;
        QTest::newRow("crashing on every input") << "crashing.sh"
                                                 << "kill -SEGV $$" << 0755;
    }

    void ADecoderThatCannotRunIsMissingOrDamaged() {
        QFETCH(QString, name);
        QFETCH(QString, body);
        QFETCH(int, mode);
        const std::string decoder = mode == 0
                                        ? m_files.File(name.toStdString())
                                        : Decoder(name.toStdString(), body.toStdString(), mode);
        const std::string path = test::WriteImage(m_files, "Fine.bmp", HalvesImage(40, 30), "BMP");
        const ImportedPicture picture = ConverterWith(decoder)(path);
        QCOMPARE(picture.refusal, ImportRefusal::NoDecoder);
        QCOMPARE(RefusalMessage(picture), "The picture decoder " + QString::fromStdString(decoder) +
                                              " is missing or damaged; reinstall Corvalin.");
    }

    // A decoder that fails on a file and then keeps the empty input that tells whether it works
    // waiting is broken: the check ends at a limit of its own (here made short), far below the
    // decoding's, rather than wait for a refusal that comes late.
    void TheCheckOfAFailedDecoderHasALimitOfItsOwn() {
        const std::string decoder =
            Decoder("slow-on-empty.sh",
                    "[ \"$(head -c 1 | wc -c)\" = 0 ] && { sleep 5; printf 'CVR1empty'; exit 0; }\n"
                    "exit 1");
        const std::string path = test::WriteImage(m_files, "Fine.bmp", HalvesImage(40, 30), "BMP");
        const ImportedPicture picture =
            ConverterWith(decoder, {}, std::chrono::milliseconds(300))(path);
        QCOMPARE(picture.refusal, ImportRefusal::NoDecoder);
        QVERIFY(kDecoderCheckLimit <= std::chrono::seconds(5));
    }

    // Without /proc the game cannot tell where it lies, and so where its decoder is: it starts
    // none, not even one in the folder it runs in.
    void WithoutItsOwnPlaceTheGameStartsNoDecoder() {
        const std::string path = test::WriteImage(m_files, "Fine.bmp", HalvesImage(40, 30), "BMP");
        const std::string ran = m_files.File("ran-here");
        Decoder("corvalin-decode", "touch " + ran + "\n" + kAnswersAnything);
        const int status = test::InChild([&] {
            if (!HideProc()) return 77;
            if (::chdir(m_files.Path().c_str()) != 0) return 2;
            const ImportedPicture picture = ConvertPicture(path);
            return picture.refusal == ImportRefusal::NoDecoder && picture.detail.empty() &&
                           RefusalMessage(picture).contains("cannot tell where")
                       ? 0
                       : 1;
        });
        if (status == 77) QSKIP("namespaces of its own are not allowed here");
        QCOMPARE(status, 0);
        QVERIFY(!std::filesystem::exists(ran));
    }

    void ScratchFailureRefusesWithTheCause() {
        m_tmpDir->PointAtMissingFolder();
        const std::string path = test::WriteImage(m_files, "Fine.bmp", HalvesImage(40, 30), "BMP");
        const ImportedPicture picture = PreparePicture(path, {}, ConvertPicture);
        QCOMPARE(picture.refusal, ImportRefusal::NotConverted);
        QVERIFY(picture.jpeg.empty());
        QVERIFY(RefusalMessage(picture).startsWith("The picture could not be converted.\n"));
        QVERIFY(RefusalMessage(picture).contains("missing"));
    }
};

QTEST_MAIN(PictureImportTest)
#include "PictureImportTest.moc"
