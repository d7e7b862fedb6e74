// Every file of the picture and bitmap fuzz corpora (the seeds and what long runs found, crashes
// and allocations past the limit among them) decoded in two processes, the sealed decoder and this
// test's own: the decoder ends cleanly, refused with a reason or with exactly the 400 x 300
// picture, and both give the same answer (a decoder that read memory it never wrote would not:
// each process holds other bytes there). A file cut short is always refused. The decoder gives
// the same answer again for the file's bytes on a pipe, where it cannot look at them before it
// reads them, and the program that decodes every format takes them. Each answer's digest is
// kept in fuzz/corpus-answers.txt, so that any change of pixels or refusals shows and is looked
// at: a fault in the decoding changes both processes alike. After a change that was looked at,
// CORVALIN_WRITE_CORPUS_ANSWERS=1 writes the file anew.

#include <fcntl.h>
#include <unistd.h>

#include <QBuffer>
#include <QImageReader>
#include <QTest>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "core/io/ProgramDirectory.h"
#include "core/layout/SkinLayout.h"
#include "core/library/PictureFile.h"
#include "core/picture/CutShortPicture.h"
#include "core/picture/PictureSize.h"
#include "core/sandbox/DecoderAnswer.h"
#include "core/sandbox/DecoderProcess.h"
#include "decoder/AnyPicture.h"
#include "decoder/DecoderSetup.h"
#include "support/ByteFiles.h"

namespace {

// A size as Qt gives one, invalid for none.
QSize QtSize(const std::optional<layout::Size>& size) {
    return size ? QSize(size->width, size->height) : QSize();
}

// What Qt's JPEG reader makes of bytes: the size their header states, and the size they decode
// to, invalid where it fails.
std::pair<QSize, QSize> QtJpegSizes(const std::vector<std::uint8_t>& bytes) {
    QByteArray data(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
    QBuffer header(&data);
    QBuffer whole(&data);
    const QSize stated = QImageReader(&header, "jpeg").size();
    const QImage decoded = QImageReader(&whole, "jpeg").read();
    return {stated.isValid() ? stated : QSize(), decoded.isNull() ? QSize() : decoded.size()};
}

DecoderRun DecodedBySealedDecoder(int input) {
    return RunDecoder(GetProgramDirectory() + "corvalin-decode", input,
                      {MaxAnswerBytes(400, 300), std::chrono::seconds(60)}, {});
}

DecoderRun DecodedFromPipe(const std::vector<std::uint8_t>& bytes) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return {};
    const Descriptor readEnd(ends[0]);
    std::thread writer([writeEnd = Descriptor(ends[1]), &bytes] {
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t count = ::write(writeEnd.Get(), bytes.data() + done, bytes.size() - done);
            if (count <= 0) return;
            done += static_cast<std::size_t>(count);
        }
    });
    DecoderRun run = DecodedBySealedDecoder(readEnd.Get());
    writer.join();
    return run;
}

// The answer the decoder would give, from a decode in this process.
std::vector<std::uint8_t> DecodedHere(const std::vector<std::uint8_t>& bytes) {
    const DecodedPicture picture = DecodeAnyPicture(bytes, layout::kPictureSize);
    return picture.Refused()
               ? RefusalAnswer(picture.refusal)
               : PixelsAnswer(layout::kPictureSize.width, layout::kPictureSize.height, picture.rgb);
}

// FNV-1a, 64 bits: the same on every machine, unlike std::hash.
std::string Digest(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325;
    for (const std::uint8_t byte : bytes) hash = (hash ^ byte) * 0x100000001b3;
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

const std::string kAnswersFile = std::string(CORVALIN_FUZZ_CORPUS) + "/../corpus-answers.txt";

// "CORPUS/NAME DIGEST" a line, as the file keeps them.
std::map<std::string, std::string> KeptAnswers() {
    std::map<std::string, std::string> kept;
    std::ifstream file(kAnswersFile);
    std::string name;
    std::string digest;
    while (file >> name >> digest) kept[name] = digest;
    return kept;
}

}  // namespace

class CorpusDecodingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        PrepareDecoding();
        // A decoder that ends before reading the whole pipe must not end the test with it.
        std::signal(SIGPIPE, SIG_IGN);
    }

    void EveryCorpusFileDecodesWhollyOrIsRefusedAlikeInTwoProcesses() {
        int decoded = 0;
        int refused = 0;
        std::map<std::string, std::string> answers;
        std::vector<std::filesystem::directory_entry> files;
        for (const char* corpus : {"/picture_import", "/bmp_reader"})
            for (const auto& entry :
                 std::filesystem::directory_iterator(std::string(CORVALIN_FUZZ_CORPUS) + corpus))
                files.push_back(entry);
        for (const auto& entry : files) {
            const QByteArray name = QByteArray::fromStdString(entry.path().filename().string());
            const std::vector<std::uint8_t> bytes = ReadBytes(entry.path());
            const DecoderRun sealed = DecodedBySealedDecoder(OpenPictureFile(entry.path()).Get());
            QVERIFY2(sealed.ExitedCleanly(), name);
            QVERIFY2(sealed.output == DecodedHere(bytes), name);
            QVERIFY2(DecodedFromPipe(bytes).output == sealed.output, name);
            answers[entry.path().parent_path().filename().string() + "/" + name.toStdString()] =
                Digest(sealed.output);
            const DecoderAnswer answer = ParseDecoderAnswer(sealed.output, 400, 300);
            if (answer.kind == DecoderAnswer::Kind::Refused) {
                QVERIFY2(!answer.reason.empty(), name);
                ++refused;
                continue;
            }
            QVERIFY2(answer.kind == DecoderAnswer::Kind::Pixels, name);
            QVERIFY2(!IsCutShort(bytes), name);
            ++decoded;
        }
        // The seeds hold whole pictures of every format and damaged ones.
        QVERIFY(decoded >= 10);
        QVERIFY(refused >= 10);
        if (qEnvironmentVariableIsSet("CORVALIN_WRITE_CORPUS_ANSWERS")) {
            std::ofstream file(kAnswersFile, std::ios::trunc);
            for (const auto& [name, digest] : answers) file << name << ' ' << digest << '\n';
            return;
        }
        const std::map<std::string, std::string> kept = KeptAnswers();
        for (const auto& [name, digest] : answers) {
            const auto found = kept.find(name);
            QVERIFY2(found != kept.end(), qPrintable(QString::fromStdString(name) + " is new"));
            QVERIFY2(found->second == digest,
                     qPrintable(QString::fromStdString(name) + "'s answer changed"));
        }
        QCOMPARE(kept.size(), answers.size());
    }

    // corvalin-dat and the game's check of a 2x skin measure JPEG pictures with libjpeg
    // itself, where they used Qt's reader: the same sizes, and the same failures.
    void EveryCorpusJpegMeasuresAsQtReadsIt() {
        int measured = 0;
        for (const auto& entry : std::filesystem::directory_iterator(
                 std::string(CORVALIN_FUZZ_CORPUS) + "/picture_import")) {
            const std::vector<std::uint8_t> bytes = ReadBytes(entry.path());
            if (bytes.size() < 3 || bytes[0] != 0xFF || bytes[1] != 0xD8 || bytes[2] != 0xFF)
                continue;
            const QByteArray name = QByteArray::fromStdString(entry.path().filename().string());
            const auto [stated, decoded] = QtJpegSizes(bytes);
            QVERIFY2(QtSize(StatedPictureSize(bytes)) == stated, name);
            QVERIFY2(QtSize(DecodedPictureSize(bytes)) == decoded, name);
            ++measured;
        }
        QVERIFY(measured >= 10);
    }
};

QTEST_GUILESS_MAIN(CorpusDecodingTest)
#include "CorpusDecodingTest.moc"
