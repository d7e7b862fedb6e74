#include <gtest/gtest.h>

#include "core/sandbox/DecoderAnswer.h"
#include "support/ByteFiles.h"

namespace {

using Kind = DecoderAnswer::Kind;

// A 2 x 1 answer: "CVP1", 2, 1, then red and blue.
const std::vector<std::uint8_t> kWhole = Hex("43565031 0200 0100 FF0000 0000FF");

std::vector<std::uint8_t> With(std::vector<std::uint8_t> bytes, std::size_t size) {
    bytes.resize(size, 0);
    return bytes;
}

TEST(DecoderAnswerTest, OnlyAWholeAnswerIsTaken) {
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        Kind kind;
    } cases[] = {
        {"whole pixels", kWhole, Kind::Pixels},
        {"a refusal", RefusalAnswer("cut short"), Kind::Refused},
        {"an empty refusal", Hex("43565231"), Kind::Refused},
        {"nothing", {}, Kind::Broken},
        {"the kind cut", Hex("435650"), Kind::Broken},
        {"the size cut", Hex("43565031 0200 01"), Kind::Broken},
        {"the pixels cut", With(kWhole, kWhole.size() - 1), Kind::Broken},
        {"a byte after the pixels", With(kWhole, kWhole.size() + 1), Kind::Broken},
        {"another size", Hex("43565031 0100 0200 FF0000 0000FF"), Kind::Broken},
        {"an unknown kind", Hex("43565032 0200 0100 FF0000 0000FF"), Kind::Broken},
        {"a reason too long", With(Hex("43565231"), 4 + kMaxReasonBytes + 1), Kind::Broken},
        {"a reason with a control byte", Hex("43565231 41 0A 42"), Kind::Broken},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DecoderAnswer answer = ParseDecoderAnswer(c.bytes, 2, 1);
        EXPECT_EQ(answer.kind, c.kind);
        EXPECT_EQ(answer.rgb.empty(), c.kind != Kind::Pixels);
    }
}

TEST(DecoderAnswerTest, WrittenAnswersReadBackAsWritten) {
    const DecoderAnswer pixels = ParseDecoderAnswer(PixelsAnswer(2, 1, Hex("FF0000 0000FF")), 2, 1);
    EXPECT_EQ(pixels.rgb, Hex("FF0000 0000FF"));
    EXPECT_EQ(ParseDecoderAnswer(RefusalAnswer("cut\nshort"), 2, 1).reason, "cut?short");
    EXPECT_EQ(ParseDecoderAnswer(RefusalAnswer(std::string(500, 'x')), 2, 1).reason.size(),
              kMaxReasonBytes);
}

}  // namespace
