#include "core/picture/BmpRunLength.h"

#include <algorithm>

namespace {

constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfBitmap = 1;
constexpr std::uint8_t kMove = 2;

// Where the codes put pixels: x and y count from the first stored row and may pass the image.
class Painter {
public:
    Painter(const BmpPalette& palette, bool topDown, RgbaImage& image)
        : palette_(palette), topDown_(topDown), image_(image) {}

    bool Done() const { return y_ >= image_.height; }
    void NextLine() {
        x_ = 0;
        ++y_;
    }
    void Move(std::uint8_t right, std::uint8_t down) {
        x_ += right;
        y_ += down;
    }
    void Put(std::uint8_t index) {
        if (x_ < image_.width && !Done()) {
            const std::uint64_t row = topDown_ ? y_ : image_.height - 1 - y_;
            std::copy_n(palette_[index].data(), 4, &image_.pixels[(row * image_.width + x_) * 4]);
        }
        ++x_;
    }

private:
    const BmpPalette& palette_;
    bool topDown_;
    RgbaImage& image_;
    std::uint64_t x_ = 0;
    std::uint64_t y_ = 0;
};

// The i-th pixel of a run or of absolute bytes: a byte, or a nibble taken high first.
std::uint8_t Index(const std::uint8_t* bytes, unsigned i, bool fourBit) {
    if (!fourBit) return bytes[i];
    const std::uint8_t byte = bytes[i / 2];
    return i % 2 == 0 ? byte >> 4 : byte & 0x0F;
}

}  // namespace

bool PaintRunLength(std::span<const std::uint8_t> codes, bool fourBit, const BmpPalette& palette,
                    bool topDown, RgbaImage& image) {
    Painter painter(palette, topDown, image);
    std::size_t at = 0;
    while (!painter.Done()) {
        if (codes.size() - at < 2) return false;
        const std::uint8_t count = codes[at];
        const std::uint8_t code = codes[at + 1];
        at += 2;
        if (count != 0) {  // a run: one byte (two nibbles alternating) repeated
            const std::uint8_t run[] = {code, code};
            for (unsigned i = 0; i < count; ++i) painter.Put(Index(run, i % 2, fourBit));
        } else if (code == kEndOfLine) {
            painter.NextLine();
        } else if (code == kEndOfBitmap) {
            return true;
        } else if (code == kMove) {
            if (codes.size() - at < 2) return false;
            painter.Move(codes[at], codes[at + 1]);
            at += 2;
        } else {  // code pixels as they are, padded to an even byte count
            std::size_t bytes = fourBit ? (code + 1u) / 2 : code;
            bytes += bytes % 2;
            if (codes.size() - at < bytes) return false;
            for (unsigned i = 0; i < code; ++i) painter.Put(Index(&codes[at], i, fourBit));
            at += bytes;
        }
    }
    return true;
}
