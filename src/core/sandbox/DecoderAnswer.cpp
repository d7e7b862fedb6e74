#include "core/sandbox/DecoderAnswer.h"

#include <algorithm>
#include <cstring>

#include "core/io/ByteOrder.h"

namespace {

constexpr char kPixelsTag[] = "CVP1";
constexpr char kRefusalTag[] = "CVR1";
constexpr std::size_t kTagBytes = 4;
constexpr std::size_t kPixelsHeaderBytes = kTagBytes + 4;

bool Printable(std::uint8_t byte) { return byte >= 0x20 && byte < 0x7F; }

DecoderAnswer Broken(std::string what) {
    DecoderAnswer answer;
    answer.reason = std::move(what);
    return answer;
}

}  // namespace

std::size_t MaxAnswerBytes(int width, int height) {
    return std::max(
        kPixelsHeaderBytes + static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3,
        kTagBytes + kMaxReasonBytes);
}

std::vector<std::uint8_t> PixelsAnswer(int width, int height, std::span<const std::uint8_t> rgb) {
    std::vector<std::uint8_t> bytes(kPixelsTag, kPixelsTag + kTagBytes);
    for (const int side : {width, height}) {
        bytes.push_back(static_cast<std::uint8_t>(side));
        bytes.push_back(static_cast<std::uint8_t>(side >> 8));
    }
    bytes.insert(bytes.end(), rgb.begin(), rgb.end());
    return bytes;
}

std::vector<std::uint8_t> RefusalAnswer(const std::string& reason) {
    std::vector<std::uint8_t> bytes(kRefusalTag, kRefusalTag + kTagBytes);
    const std::size_t length = std::min(reason.size(), kMaxReasonBytes);
    for (std::size_t i = 0; i < length; ++i) {
        const auto byte = static_cast<std::uint8_t>(reason[i]);
        bytes.push_back(Printable(byte) ? byte : '?');
    }
    return bytes;
}

DecoderAnswer ParseDecoderAnswer(std::span<const std::uint8_t> bytes, int width, int height) {
    if (bytes.size() < kTagBytes) return Broken("the answer ends before its kind");
    if (std::memcmp(bytes.data(), kRefusalTag, kTagBytes) == 0) {
        const std::span<const std::uint8_t> reason = bytes.subspan(kTagBytes);
        if (reason.size() > kMaxReasonBytes) return Broken("the reason is too long");
        if (!std::all_of(reason.begin(), reason.end(), Printable))
            return Broken("the reason is not plain text");
        DecoderAnswer answer;
        answer.kind = DecoderAnswer::Kind::Refused;
        answer.reason.assign(reason.begin(), reason.end());
        return answer;
    }
    if (std::memcmp(bytes.data(), kPixelsTag, kTagBytes) != 0) return Broken("unknown kind");
    if (bytes.size() < kPixelsHeaderBytes) return Broken("the answer ends before its size");
    if (LoadLittle16(&bytes[kTagBytes]) != width || LoadLittle16(&bytes[kTagBytes + 2]) != height)
        return Broken("the pixels have another size");
    const std::span<const std::uint8_t> rgb = bytes.subspan(kPixelsHeaderBytes);
    if (rgb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3)
        return Broken(rgb.size() < static_cast<std::size_t>(width) * height * 3
                          ? "the pixels end early"
                          : "bytes follow the pixels");
    DecoderAnswer answer;
    answer.kind = DecoderAnswer::Kind::Pixels;
    answer.width = width;
    answer.height = height;
    answer.rgb.assign(rgb.begin(), rgb.end());
    return answer;
}
