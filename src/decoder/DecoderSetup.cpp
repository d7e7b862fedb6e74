#include "decoder/DecoderSetup.h"

#include <malloc.h>

#include <QFile>
#include <QImageReader>
#include <QThreadPool>
#include <cstring>
#include <latch>

#include "core/layout/SkinLayout.h"
#include "core/library/DecodeLimits.h"
#include "core/sandbox/Seal.h"
#include "decoder/HeifDecoder.h"
#include "decoder/PictureDecoder.h"

namespace {

constexpr std::uint64_t kSealedMemoryBytes = 1ull << 30;
constexpr unsigned kSealedCpuSeconds = 20;
// The most glibc hands out from its heaps, where freshly allocated memory takes the fill
// byte; larger blocks come as new zeroed pages.
constexpr int kLargestFilledBlock = 32 << 20;
constexpr int kArenas = 4;

constexpr const char* kSamples[] = {":/samples/sample.avif", ":/samples/sample.bmp",
                                    ":/samples/sample.gif",  ":/samples/sample.heic",
                                    ":/samples/sample.png",  ":/samples/sample.tiff",
                                    ":/samples/sample.webp"};

// Starts every thread of Qt's pool, which scales and converts large images: a thread started
// later would make the calls of a new thread's event loop, which the seal forbids. They stay,
// as PrepareDecoding keeps idle threads for good.
void StartPoolThreads() {
    QThreadPool* pool = QThreadPool::globalInstance();
    const int count = pool->maxThreadCount();
    std::latch started(count);
    std::latch finished(count);
    for (int i = 0; i < count; ++i) {
        pool->start([&] {
            started.arrive_and_wait();  // so that no thread runs two of them
            finished.count_down();
        });
    }
    finished.wait();
}

}  // namespace

void PrepareDecoding() {
    ::mallopt(M_ARENA_MAX, kArenas);
    ::mallopt(M_MMAP_THRESHOLD, kLargestFilledBlock);
    QImageReader::setAllocationLimit(static_cast<int>(kMaxDecodeBytes >> 20));
    // An idle pool thread that expired would be started again later, with calls the seal
    // does not allow.
    QThreadPool::globalInstance()->setExpiryTimeout(-1);
    InitialiseHeif();
}

void WarmUpDecoders() {
    StartPoolThreads();
    // The first error text loads the C library's message catalogue.
    (void)std::strerror(ENOENT);
    const QSize size = QSize(layout::kPictureSize.width, layout::kPictureSize.height);
    // Bytes no reader takes make Qt ask every plugin it has.
    const char text[] = "not a picture";
    DecodePicture(std::span(reinterpret_cast<const std::uint8_t*>(text), sizeof text), size);
    for (const char* sample : kSamples) {
        QFile file(QString::fromLatin1(sample));
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QByteArray bytes = file.readAll();
        DecodePicture(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                static_cast<std::size_t>(bytes.size())),
                      size);
    }
}

std::string SealDecoder() { return SealProcess({kSealedMemoryBytes, kSealedCpuSeconds}); }
