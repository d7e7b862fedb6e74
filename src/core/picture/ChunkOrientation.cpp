#include "core/picture/ChunkOrientation.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "core/io/ByteOrder.h"
#include "core/picture/ExifOrientation.h"

namespace {

constexpr std::array<std::uint8_t, 8> kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Length and type before a PNG chunk's data, its CRC after it.
constexpr std::size_t kPngChunkHead = 8;
constexpr std::size_t kPngChunkTail = 4;
// "RIFF", the size of what follows, "WEBP"; then chunks of four-letter type and length.
constexpr std::size_t kRiffHeader = 12;
constexpr std::size_t kRiffChunkHead = 8;

bool Is(std::span<const std::uint8_t> bytes, std::size_t at, std::string_view text) {
    return at <= bytes.size() && text.size() <= bytes.size() - at &&
           std::equal(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

int PayloadOrientation(std::span<const std::uint8_t> exif) {
    return StartsWithExifHeader(exif) ? ExifOrientation(exif) : TiffOrientation(exif);
}

int PngOrientation(std::span<const std::uint8_t> file) {
    // eXIf may come before or after the image data: walk up to IEND.
    for (std::size_t at = kPngSignature.size();
         file.size() - at >= kPngChunkHead + kPngChunkTail;) {
        const std::size_t length = LoadBig32(&file[at]);
        if (length > file.size() - at - kPngChunkHead - kPngChunkTail) return 1;
        if (Is(file, at + 4, "eXIf"))
            return PayloadOrientation(file.subspan(at + kPngChunkHead, length));
        if (Is(file, at + 4, "IEND")) return 1;
        at += kPngChunkHead + length + kPngChunkTail;
    }
    return 1;
}

int WebpOrientation(std::span<const std::uint8_t> file) {
    // Chunks end where the RIFF header says, or where the file does if that comes first.
    const std::size_t end =
        std::min<std::uint64_t>(file.size(), std::uint64_t{8} + LoadLittle32(&file[4]));
    for (std::size_t at = kRiffHeader; at <= end && end - at >= kRiffChunkHead;) {
        const std::size_t length = LoadLittle32(&file[at + 4]);
        if (length > end - at - kRiffChunkHead) return 1;
        if (Is(file, at, "EXIF"))
            return PayloadOrientation(file.subspan(at + kRiffChunkHead, length));
        at += kRiffChunkHead + length + (length & 1);  // chunks are padded to even lengths
    }
    return 1;
}

}  // namespace

std::optional<int> ChunkOrientation(std::span<const std::uint8_t> file) {
    if (file.size() >= kPngSignature.size() &&
        std::equal(kPngSignature.begin(), kPngSignature.end(), file.begin()))
        return PngOrientation(file);
    if (file.size() >= kRiffHeader && Is(file, 0, "RIFF") && Is(file, 8, "WEBP"))
        return WebpOrientation(file);
    return std::nullopt;
}
