// Hostile files chosen through the Add button: each is refused with "Invalid file!", and the
// library (Pic.dat, the package in memory, the names and rows, the current picture) stays as
// it was, with no scratch file left behind.

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <QBuffer>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageWriter>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QTest>
#include <cstring>
#include <filesystem>
#include <optional>

#include "core/io/ByteOrder.h"
#include "core/io/ProgramDirectory.h"
#include "core/library/PictureConversion.h"
#include "core/library/PictureFile.h"
#include "core/sandbox/DecoderAnswer.h"
#include "core/sandbox/DecoderProcess.h"
#include "library/PictureListBox.h"
#include "library/ResFrame.h"
#include "skin/EdgeRect.h"
#include "support/ChildProcess.h"
#include "support/ExifChunks.h"
#include "support/PictureBytes.h"
#include "support/ScopedTmpDir.h"
#include "support/qt/AppTestMain.h"
#include "support/qt/HeifBytes.h"
#include "support/qt/ModalAnswerer.h"
#include "support/qt/TestImages.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Cut(Bytes bytes, std::size_t keep) {
    bytes.resize(keep);
    return bytes;
}

void Put16(Bytes& bytes, std::size_t at, std::uint16_t value, bool bigEndian) {
    bytes[at + (bigEndian ? 1 : 0)] = static_cast<std::uint8_t>(value);
    bytes[at + (bigEndian ? 0 : 1)] = static_cast<std::uint8_t>(value >> 8);
}

// A real JPEG whose frame header declares width by height instead.
Bytes JpegDeclaring(std::uint16_t width, std::uint16_t height) {
    Bytes jpeg = test::Encode(test::Solid(64, 48, qRgb(200, 40, 40)), "JPG");
    for (std::size_t i = 0; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {  // FF C0, length, precision, height, width
            Put16(jpeg, i + 5, height, true);
            Put16(jpeg, i + 7, width, true);
            return jpeg;
        }
    }
    return {};
}

// A real PNG whose header chunk declares width by height instead, its checksum made to match.
Bytes PngDeclaring(std::uint32_t width, std::uint32_t height) {
    Bytes png = test::Encode(test::Solid(64, 48, qRgb(40, 200, 40)), "PNG");
    constexpr std::size_t kHeaderData = 16;  // signature 8, chunk length 4, "IHDR" 4
    test::PutBig32(png, kHeaderData, width);
    test::PutBig32(png, kHeaderData + 4, height);
    test::PutBig32(png, kHeaderData + 13, test::PngChunkCrc(png.data() + kHeaderData - 4, 4 + 13));
    return png;
}

// A PNG of width x height, 8-bit RGB, whose one zlib stream (deflate's best, in chunks of 64 KB)
// holds filled bytes of rows, black but for 64 bytes of noise a megabyte, and ends there: 440 KB
// fills 428 MB of rows, short of 12000 x 12000's 432 MB, though as much deflated data at
// deflate's most (1032 to 1) could fill them.
Bytes PngWithRowsOf(std::uint32_t width, std::uint32_t height, std::uint64_t filled) {
    z_stream stream{};
    deflateInit(&stream, Z_BEST_COMPRESSION);
    Bytes zeros(1 << 20, 0);
    std::uint32_t noise = 1;
    for (std::size_t i = zeros.size() - 64; i < zeros.size(); ++i)
        zeros[i] = static_cast<std::uint8_t>((noise = noise * 1103515245 + 12345) >> 24);
    Bytes data(1 << 20), compressed;
    for (std::uint64_t left = filled; left > 0 || stream.avail_in > 0;) {
        if (stream.avail_in == 0) {
            const auto count = static_cast<uInt>(std::min<std::uint64_t>(left, zeros.size()));
            stream.next_in = const_cast<Bytef*>(zeros.data());
            stream.avail_in = count;
            left -= count;
        }
        stream.next_out = data.data();
        stream.avail_out = static_cast<uInt>(data.size());
        deflate(&stream, Z_NO_FLUSH);
        compressed.insert(compressed.end(), data.data(), stream.next_out);
    }
    for (int status = Z_OK; status != Z_STREAM_END;) {
        stream.next_out = data.data();
        stream.avail_out = static_cast<uInt>(data.size());
        status = deflate(&stream, Z_FINISH);
        compressed.insert(compressed.end(), data.data(), stream.next_out);
    }
    deflateEnd(&stream);
    Bytes header(13, 0);
    test::PutBig32(header, 0, width);
    test::PutBig32(header, 4, height);
    header[8] = 8;  // bits a sample
    header[9] = 2;  // RGB
    Bytes png = test::Join(
        {Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, test::PngChunk("IHDR", header)});
    for (std::size_t at = 0; at < compressed.size(); at += 1 << 16) {
        const auto end = compressed.begin() +
                         static_cast<std::ptrdiff_t>(std::min(compressed.size(), at + (1 << 16)));
        png = test::Join(
            {png, test::PngChunk(
                      "IDAT", Bytes(compressed.begin() + static_cast<std::ptrdiff_t>(at), end))});
    }
    return test::Join({png, test::PngChunk("IEND", {})});
}

// A whole 24-bit bitmap whose header claims many more rows than its pixel data holds.
Bytes BitmapClaimingRows(std::int32_t rows) {
    Bytes bmp = test::Encode(test::Solid(40, 30, qRgb(40, 40, 200)), "BMP");
    for (int i = 0; i < 4; ++i) bmp[22 + i] = static_cast<std::uint8_t>(rows >> (8 * i));
    return bmp;
}

// An OS/2 bitmap (12-byte core header) of 40 x 30 pixels at 24 bits, cut after keep rows.
Bytes CoreBitmapCutAfterRows(int keep) {
    const int rowBytes = 40 * 3;
    const Bytes headers = {
        'B', 'M', 0, 0, 0,  0, 0,  0, 0, 0, 26, 0, 0, 0,  // file header, pixels at 26
        12,  0,   0, 0, 40, 0, 30, 0, 1, 0, 24, 0};       // core header: 40 x 30, 24 bits
    Bytes bmp = test::Join({headers, Bytes(static_cast<std::size_t>(keep * rowBytes), 0x80)});
    test::PutLittle32(bmp, 2, 26 + 30 * rowBytes);  // the file size of all 30 rows
    return bmp;
}

// A real GIF whose screen and image declare width by height instead.
Bytes GifDeclaring(std::uint16_t width, std::uint16_t height) {
    Bytes gif = test::kOnePixelGif;
    for (std::size_t at : {std::size_t{6}, std::size_t{41}}) {  // the screen, the image
        Put16(gif, at, width, false);
        Put16(gif, at + 2, height, false);
    }
    return gif;
}

// A real TIFF whose first directory declares width by height instead.
Bytes TiffDeclaring(std::uint16_t width, std::uint16_t height) {
    Bytes tiff = test::Encode(test::Solid(64, 48, qRgb(40, 40, 200)), "TIFF");
    const std::size_t directory = LoadLittle32(&tiff[4]);
    for (std::size_t entry = directory + 2; entry + 12 <= tiff.size(); entry += 12) {
        const std::uint16_t tag = tiff[entry] | tiff[entry + 1] << 8;
        if (tag == 256 || tag == 257) {  // image width, image length: one number each
            const std::uint16_t value = tag == 256 ? width : height;
            test::PutLittle32(tiff, entry + 8, value);  // a short in the field's first bytes
        }
    }
    return tiff;
}

// A real lossy WebP whose frame declares width by height instead.
Bytes WebpDeclaring(std::uint16_t width, std::uint16_t height) {
    Bytes webp = test::Encode(test::Solid(64, 48, qRgb(40, 200, 40)), "WEBP");
    constexpr std::size_t kFrameSize = 26;  // RIFF header, chunk header, frame tag, start code
    Put16(webp, kFrameSize, width, false);
    Put16(webp, kFrameSize + 2, height, false);
    return webp;
}

// A real lossless WebP whose frame declares width by height instead.
Bytes LosslessWebpDeclaring(std::uint32_t width, std::uint32_t height) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "WEBP");
    writer.setQuality(100);  // lossless
    writer.write(test::Solid(64, 48, qRgb(40, 200, 40)));
    Bytes webp(buffer.data().begin(), buffer.data().end());
    // After the signature byte: 14 bits of width - 1, 14 of height - 1, little-endian.
    constexpr std::size_t kSizeBits = 21;  // RIFF header 12, chunk header 8, signature 1
    if (webp.size() < kSizeBits + 4) return {};
    const std::uint32_t bits =
        (width - 1) | (height - 1) << 14 | (LoadLittle32(&webp[kSizeBits]) & 0xF0000000u);
    test::PutLittle32(webp, kSizeBits, bits);
    return webp;
}

// A real HEIC whose image declares width by height instead.
Bytes HeicDeclaring(std::uint32_t width, std::uint32_t height) {
    Bytes heic = test::HeifBytes(test::Solid(64, 48, qRgb(200, 200, 40)), heif_compression_HEVC);
    for (std::size_t i = 0; i + 16 <= heic.size(); ++i) {
        if (std::memcmp(&heic[i], "ispe", 4) != 0) continue;
        test::PutBig32(heic, i + 8, width);  // after the version and flags
        test::PutBig32(heic, i + 12, height);
    }
    return heic;
}

const std::vector<std::string> kLibrary{"Harbour.jpg", "Meadow.jpg"};

// What refusing a file from its header may take beyond refusing an empty file (the program, its
// libraries and, in a sanitizer build, the sanitizer's own memory).
constexpr int kMostMegabytesToRefuse = 32;

// The decoder's answer to the file is a refusal, given cleanly; the most memory it held, in
// megabytes (counted in fours, to fit an exit status), or -1 when it did not answer so.
int PeakMegabytesToRefuse(const std::string& path) {
    constexpr long kUnit = 4 << 10;  // kilobytes
    // In a child of its own, whose only child is the decoder: the peak of its children is the
    // decoder's (with, before it starts, the copy of this process it starts from).
    const int status = test::InChild([&] {
        const Descriptor file = OpenPictureFile(path);
        const DecoderRun run = RunDecoder(GetProgramDirectory() + "corvalin-decode", file.Get(),
                                          {MaxAnswerBytes(400, 300), std::chrono::seconds(30)}, {});
        if (!run.ExitedCleanly() ||
            ParseDecoderAnswer(run.output, 400, 300).kind != DecoderAnswer::Kind::Refused)
            return 255;
        rusage usage{};
        ::getrusage(RUSAGE_CHILDREN, &usage);
        return static_cast<int>(std::min(usage.ru_maxrss / kUnit, 254L));
    });
    return status == 255 ? -1 : status * 4;
}

}  // namespace

Q_DECLARE_METATYPE(Bytes)

class HostilePictureTest : public QObject {
    Q_OBJECT

    std::optional<test::DataFolder> m_data;
    std::optional<test::ScopedTmpDir> m_tmpDir;

    // Imports the file through the panel's Add operation and checks that nothing changed.
    void ExpectRefusedAsInvalid(const std::string& path) {
        m_data->WritePackage("Pic.dat", test::SolidLibrary(kLibrary));
        App()->LoadData(m_data->Path());
        const Bytes picDat = m_data->Bytes("Pic.dat");
        QWidget owner;
        auto* panel = new ResFrame(&owner, ToQRect(layout::kContentRect));

        test::SeenDialog box;
        test::ModalAnswerer answerer(
            {test::ChooseFile(path), test::PressOnBox(Qt::Key_Return, &box)});
        panel->AddPicture();
        QCOMPARE(answerer.Unexpected(), QStringList());
        QCOMPARE(answerer.Answered(), 2);
        QCOMPARE(box.text, QString("Invalid file!"));

        QCOMPARE(m_data->Bytes("Pic.dat"), picDat);
        QCOMPARE(App()->m_picturePackage.ToBytes(), picDat);
        QCOMPARE(panel->PictureNames(), kLibrary);
        QCOMPARE(panel->PictureList()->count(), 2);
        QCOMPARE(App()->m_currentPicture, kLibrary.front());
        QCOMPARE(m_tmpDir->Entries(), std::vector<std::string>{});
    }

private slots:
    void init() {
        m_data.emplace();
        m_tmpDir.emplace();
    }

    void cleanup() {
        m_tmpDir.reset();
        m_data.reset();
    }

    void HostileFilesAreRefusedAndChangeNothing_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("bytes");
        auto row = [](const char* what, const char* name, const Bytes& bytes) {
            QTest::newRow(what) << QByteArray(name)
                                << QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
        };
        const Bytes jpeg = test::Encode(test::Solid(640, 480, qRgb(90, 120, 30)), "JPG");
        const Bytes png = test::Encode(test::Solid(64, 48, qRgb(90, 120, 30)), "PNG");
        row("jpeg declaring 65535 x 65535", "Giant.jpg", JpegDeclaring(65535, 65535));
        row("png declaring 100000 x 100000", "Giant.png", PngDeclaring(100000, 100000));
        row("gif declaring 65535 x 65535", "Giant.gif", GifDeclaring(65535, 65535));
        row("tiff declaring 60000 x 60000", "Giant.tiff", TiffDeclaring(60000, 60000));
        row("webp declaring 16383 x 16383", "Giant.webp", WebpDeclaring(16383, 16383));
        row("heic declaring 65535 x 65535", "Giant.heic", HeicDeclaring(65535, 65535));
        row("bitmap claiming 2^31 - 1 rows", "Tall.bmp", BitmapClaimingRows(0x7FFFFFFF));
        row("bitmap claiming 3000 rows", "Liar.bmp", BitmapClaimingRows(3000));
        row("bitmap claiming rows top first", "Upside.bmp", BitmapClaimingRows(-3000));
        row("jpeg cut in half", "Half.jpg", Cut(jpeg, jpeg.size() / 2));
        row("png cut short", "Short.png", Cut(png, png.size() - 20));
        row("os/2 bitmap cut short", "Core.bmp", CoreBitmapCutAfterRows(10));
        row("empty file", "Empty.bmp", {});
        row("text file", "Notes.txt", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', '\n'});
    }

    void HostileFilesAreRefusedAndChangeNothing() {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, bytes);
        ExpectRefusedAsInvalid(
            m_data->WriteBytes(name.toStdString(), {bytes.begin(), bytes.end()}));
    }

    // Each declares a size that fits; its grid or overlay states a canvas of gigabytes, which
    // the decoder would make before anything of libheif's own checks it.
    void HeifCanvasesLargerThanTheirDeclaredSizeAreRefusedBeforeTheyAreMade_data() {
        QTest::addColumn<QString>("seed");
        QTest::newRow("grid of 35152 x 20039 behind 128 x 64") << "heic-grid-stating-35152x20039";
        QTest::newRow("grid of 60000 x 60000 behind 65535 x 1") << "heic-grid-stating-60000x60000";
        QTest::newRow("overlay of 60000 x 60000 behind 65535 x 1")
            << "heic-overlay-stating-60000x60000";
    }

    void HeifCanvasesLargerThanTheirDeclaredSizeAreRefusedBeforeTheyAreMade() {
        QFETCH(QString, seed);
        const std::string path = CORVALIN_FUZZ_CORPUS "/picture_import/" + seed.toStdString();
        ExpectRefusedAsInvalid(path);
        // Refused by the decoder's own checks, which answer; libheif making the canvas would
        // end it at its memory limit.
        const Descriptor file = OpenPictureFile(path);
        const DecoderRun run = RunDecoder(GetProgramDirectory() + "corvalin-decode", file.Get(),
                                          {MaxAnswerBytes(400, 300), std::chrono::seconds(30)}, {});
        QVERIFY(run.ExitedCleanly());
        QCOMPARE(ParseDecoderAnswer(run.output, 400, 300).kind, DecoderAnswer::Kind::Refused);
    }

    // Each declares a size its own library would decode, beyond what the decoder allows or what
    // its data could fill: refused before anything of that size is made.
    void DeclaredSizesAreRefusedBeforeTheyAreMade_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<Bytes>("bytes");
        QTest::newRow("jpeg of 30000 x 30000")
            << QByteArray("Giant.jpg") << JpegDeclaring(30000, 30000);
        QTest::newRow("png of 9000 x 9000 from 100 bytes")
            << QByteArray("Giant.png") << PngDeclaring(9000, 9000);
        QTest::newRow("png of 12000 x 12000 whose 440 KB fill 428 of its 432 MB")
            << QByteArray("Short.png") << PngWithRowsOf(12000, 12000, 428'000'000);
        QTest::newRow("gif of 65535 x 65535")
            << QByteArray("Giant.gif") << GifDeclaring(65535, 65535);
        QTest::newRow("webp of 16383 x 16383")
            << QByteArray("Giant.webp") << WebpDeclaring(16383, 16383);
        // 484 MB at our 4 bytes a pixel, but the lossless decoder holds as much again.
        QTest::newRow("lossless webp of 11000 x 11000")
            << QByteArray("Giant.webp") << LosslessWebpDeclaring(11000, 11000);
        QTest::newRow("uncompressed tiff of 65535 x 900 from one strip")
            << QByteArray("Giant.tiff") << TiffDeclaring(65535, 900);
        QTest::newRow("heic of 20000 x 20000")
            << QByteArray("Giant.heic") << HeicDeclaring(20000, 20000);
    }

    void DeclaredSizesAreRefusedBeforeTheyAreMade() {
        QFETCH(QByteArray, name);
        QFETCH(Bytes, bytes);
        const int empty = PeakMegabytesToRefuse(m_data->WriteBytes("Empty.jpg", {}));
        const int peak = PeakMegabytesToRefuse(m_data->WriteBytes(name.toStdString(), bytes));
        QVERIFY2(empty >= 0 && peak >= 0, "no clean refusal");
        QVERIFY2(peak - empty < kMostMegabytesToRefuse,
                 QByteArray::number(peak) + " MB, " + QByteArray::number(empty) + " MB for none");
    }

    void AWholeCoreHeaderBitmapIsStillImported() {
        const std::string path = m_data->WriteBytes("Core.bmp", CoreBitmapCutAfterRows(30));
        const ImportedPicture picture = PreparePicture(path, kLibrary, ConvertPicture);
        QVERIFY(picture.Accepted());
        QCOMPARE(picture.libraryName, std::string("Core.jpg"));
    }

    // A copy of this program has no decoder beside it: a drop there is told so once, plainly,
    // and not as a fault of each file.
    void WithoutItsDecoderADropIsToldSoOnce() {
        if (!qEnvironmentVariableIsSet("CORVALIN_TEST_COPY")) {
            const QString copy = QString::fromStdString(m_data->File("copy"));
            QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), copy));
            QProcess run;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("CORVALIN_TEST_COPY", "1");
            run.setProcessEnvironment(environment);
            run.start(copy, {"WithoutItsDecoderADropIsToldSoOnce"});
            QVERIFY(run.waitForFinished(60000));
            QVERIFY2(run.exitCode() == 0, run.readAllStandardOutput().constData());
            return;
        }
        m_data->WritePackage("Pic.dat", test::SolidLibrary(kLibrary));
        App()->LoadData(m_data->Path());
        const Bytes picDat = m_data->Bytes("Pic.dat");
        const Bytes bmp = test::Encode(test::Solid(40, 30, qRgb(1, 2, 3)), "BMP");
        QWidget owner;
        auto* panel = new ResFrame(&owner, ToQRect(layout::kContentRect));
        test::SeenDialog box;
        test::ModalAnswerer answerer({test::PressOnBox(Qt::Key_Return, &box)});
        panel->ImportFiles(
            {m_data->WriteBytes("Beach.bmp", bmp), m_data->WriteBytes("Reef.bmp", bmp)});
        QCOMPARE(answerer.Answered(), 1);
        QCOMPARE(box.text, "The picture decoder " + QCoreApplication::applicationDirPath() +
                               "/corvalin-decode is missing or damaged; reinstall Corvalin.");
        QCOMPARE(m_data->Bytes("Pic.dat"), picDat);
    }

    // Without the decoder of every format beside it, a TIFF or a HEIC, which the decoder hands
    // on to that one, names it as the program missing; a bitmap is still imported.
    void AMissingDecoderOfEveryFormatIsNamed() {
        const std::string folder = m_data->File("alone/");
        QVERIFY(std::filesystem::create_directory(folder));
        std::filesystem::copy_file(GetProgramDirectory() + "corvalin-decode",
                                   folder + "corvalin-decode");
        const PictureConverter convert = ConverterWith(folder + "corvalin-decode");
        for (const char* picture : {"tiff-quarters", "heic-quarters"}) {
            const ImportedPicture imported =
                convert(CORVALIN_FUZZ_CORPUS "/picture_import/" + std::string(picture));
            QCOMPARE(imported.refusal, ImportRefusal::NoDecoder);
            QCOMPARE(RefusalText(imported), "The picture decoder " + folder +
                                                "corvalin-decode-all is missing or damaged; "
                                                "reinstall Corvalin.");
        }
        QVERIFY(convert(CORVALIN_FUZZ_CORPUS "/picture_import/bitmap-4x3").Accepted());
    }

    void AFileWithoutReadPermissionIsRefused() {
        if (::geteuid() == 0) QSKIP("read permission bits do not stop root");
        const Bytes bmp = test::Encode(test::Solid(40, 30, qRgb(1, 2, 3)), "BMP");
        const std::string path = m_data->WriteBytes("Locked.bmp", bmp);
        QCOMPARE(::chmod(path.c_str(), 0), 0);
        ExpectRefusedAsInvalid(path);
    }
};

CORVALIN_APP_TEST_MAIN(HostilePictureTest)
#include "HostilePictureTest.moc"
