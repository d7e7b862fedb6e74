// Every file of the picture fuzz corpus (the seeds and what long runs found, crashes and
// allocations past the limit among them) decoded as the sealed decoder decodes it, in this
// process: each is refused with a reason or gives exactly the 400 x 300 opaque picture, and a
// file cut short is always refused.

#include <QCoreApplication>
#include <QTest>
#include <filesystem>

#include "core/layout/SkinLayout.h"
#include "core/library/CutShortPicture.h"
#include "decoder/DecoderSetup.h"
#include "decoder/PictureDecoder.h"
#include "support/ByteFiles.h"

class CorpusDecodingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareDecoding(); }

    void EveryCorpusFileDecodesWhollyOrIsRefused() {
        const QSize size(layout::kPictureSize.width, layout::kPictureSize.height);
        int decoded = 0;
        int refused = 0;
        for (const auto& entry :
             std::filesystem::directory_iterator(CORVALIN_FUZZ_CORPUS "/picture_import")) {
            const std::vector<std::uint8_t> bytes = ReadBytes(entry.path());
            const DecodedPicture picture = DecodePicture(bytes, size);
            const QByteArray name = QByteArray::fromStdString(entry.path().filename().string());
            if (picture.image.isNull()) {
                QVERIFY2(!picture.refusal.empty(), name);
                ++refused;
                continue;
            }
            QVERIFY2(picture.image.size() == size, name);
            QVERIFY2(picture.image.format() == QImage::Format_RGB32, name);
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
