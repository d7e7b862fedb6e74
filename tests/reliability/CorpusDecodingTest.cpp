// Every file of the picture and bitmap fuzz corpora (the seeds and what long runs found, crashes
// and allocations past the limit among them) decoded in two processes, the sealed decoder and this
// test's own: the decoder ends cleanly, refused with a reason or with exactly the 400 x 300
// picture, and both give the same answer (a decoder that read memory it never wrote would not:
// each process holds other bytes there). A file cut short is always refused.

#include <QTest>
#include <filesystem>

#include "core/io/ProgramDirectory.h"
#include "core/layout/SkinLayout.h"
#include "core/library/CutShortPicture.h"
#include "core/library/PictureFile.h"
#include "core/sandbox/DecoderAnswer.h"
#include "core/sandbox/DecoderProcess.h"
#include "decoder/DecoderSetup.h"
#include "decoder/PictureDecoder.h"
#include "support/ByteFiles.h"

namespace {

DecoderRun DecodedBySealedDecoder(const std::filesystem::path& path) {
    const Descriptor file = OpenPictureFile(path);
    return RunDecoder(GetProgramDirectory() + "corvalin-decode", file.Get(),
                      {MaxAnswerBytes(400, 300), std::chrono::seconds(60)}, {});
}

// The answer the decoder would give, from a decode in this process.
std::vector<std::uint8_t> DecodedHere(const std::vector<std::uint8_t>& bytes) {
    const DecodedPicture picture = DecodePicture(bytes, layout::kPictureSize);
    return picture.Refused()
               ? RefusalAnswer(picture.refusal)
               : PixelsAnswer(layout::kPictureSize.width, layout::kPictureSize.height, picture.rgb);
}

}  // namespace

class CorpusDecodingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareDecoding(); }

    void EveryCorpusFileDecodesWhollyOrIsRefusedAlikeInTwoProcesses() {
        int decoded = 0;
        int refused = 0;
        std::vector<std::filesystem::directory_entry> files;
        for (const char* corpus : {"/picture_import", "/bmp_reader"})
            for (const auto& entry :
                 std::filesystem::directory_iterator(std::string(CORVALIN_FUZZ_CORPUS) + corpus))
                files.push_back(entry);
        for (const auto& entry : files) {
            const QByteArray name = QByteArray::fromStdString(entry.path().filename().string());
            const std::vector<std::uint8_t> bytes = ReadBytes(entry.path());
            const DecoderRun sealed = DecodedBySealedDecoder(entry.path());
            QVERIFY2(sealed.ExitedCleanly(), name);
            QVERIFY2(sealed.output == DecodedHere(bytes), name);
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
    }
};

QTEST_GUILESS_MAIN(CorpusDecodingTest)
#include "CorpusDecodingTest.moc"
