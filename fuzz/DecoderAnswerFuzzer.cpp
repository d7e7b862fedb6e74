// Any bytes as the sealed decoder's answer, as the game reads them: a decoder taken over by
// the file it decodes may send anything, or stop anywhere. The reader never crashes or
// over-reads; it takes only a whole answer, which says exactly what it read.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "core/sandbox/DecoderAnswer.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "decoder answer: %s\n", what);
    std::abort();
}

// Small, so that mutations reach whole pixel answers.
constexpr int kWidth = 4;
constexpr int kHeight = 3;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const DecoderAnswer answer = ParseDecoderAnswer(bytes, kWidth, kHeight);
    switch (answer.kind) {
        case DecoderAnswer::Kind::Pixels:
            if (answer.width != kWidth || answer.height != kHeight) Fail("pixels of another size");
            if (PixelsAnswer(kWidth, kHeight, answer.rgb) !=
                std::vector<std::uint8_t>(bytes.begin(), bytes.end()))
                Fail("pixels that are not what was sent");
            break;
        case DecoderAnswer::Kind::Refused:
            if (RefusalAnswer(answer.reason) !=
                std::vector<std::uint8_t>(bytes.begin(), bytes.end()))
                Fail("a reason that is not what was sent");
            break;
        case DecoderAnswer::Kind::Broken:
            if (!answer.rgb.empty()) Fail("a broken answer carries pixels");
            if (answer.reason.empty()) Fail("a broken answer says nothing of why");
            break;
    }
    if (size > MaxAnswerBytes(kWidth, kHeight) && answer.kind != DecoderAnswer::Kind::Broken)
        Fail("an answer longer than any whole one was taken");
    return 0;
}
