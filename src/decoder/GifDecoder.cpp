#include "decoder/GifDecoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct Stream {
    std::span<const std::uint8_t> bytes;
    std::size_t position = 0;
};

int Read(GifFileType* gif, GifByteType* out, int count) {
    auto* stream = static_cast<Stream*>(gif->UserData);
    const std::size_t given = std::min(static_cast<std::size_t>(std::max(count, 0)),
                                       stream->bytes.size() - stream->position);
    std::memcpy(out, stream->bytes.data() + stream->position, given);
    stream->position += given;
    return static_cast<int>(given);
}

struct GifClose {
    void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};

// What the graphic control extension before an image block says of it.
struct Control {
    int transparent = NO_TRANSPARENT_COLOR;
    int delay = 0;  // hundredths of a second shown before the next block
    int disposal = DISPOSAL_UNSPECIFIED;
};

bool ReadExtension(GifFileType* gif, Control* control) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] == 4) {
        GraphicsControlBlock read{};
        if (DGifExtensionToGCB(4, block + 1, &read) == GIF_OK)
            *control = {read.TransparentColor, read.DelayTime, read.DisposalMode};
    }
    while (block != nullptr)
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
    return true;
}

// The rows of the frame in the order they are stored: an interlaced frame stores every eighth
// row from the first, every eighth from the fifth, every fourth from the third, then the rest.
std::vector<int> StoredRowOrder(int height, bool interlaced) {
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y) order.push_back(y);
        return order;
    }
    constexpr int kStart[] = {0, 4, 2, 1};
    constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < height; y += kStep[pass]) order.push_back(y);
    return order;
}

// The canvas: the logical screen, or where a file states none, the first block's extent.
RgbaImage Canvas(const GifFileType* gif) {
    const GifImageDesc& frame = gif->Image;
    const bool stated = gif->SWidth > 0 && gif->SHeight > 0;
    return TransparentImage(
        static_cast<std::uint32_t>(stated ? gif->SWidth : frame.Left + frame.Width),
        static_cast<std::uint32_t>(stated ? gif->SHeight : frame.Top + frame.Height));
}

// Reads the image block whose descriptor was just read onto canvas, clipped to it: the part of a
// block past the logical screen is never shown.
bool DrawBlock(GifFileType* gif, int transparent, RgbaImage& canvas) {
    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* colours = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
    if (colours == nullptr || frame.Width <= 0 || frame.Height <= 0) return false;
    const auto width = static_cast<std::int64_t>(canvas.width);
    const auto height = static_cast<std::int64_t>(canvas.height);
    std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
    for (const int y : StoredRowOrder(frame.Height, frame.Interlace)) {
        if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) return false;
        const std::int64_t row = std::int64_t{frame.Top} + y;
        if (row >= height) continue;
        std::uint8_t* pixels = &canvas.pixels[static_cast<std::size_t>(row * width) * 4];
        for (std::int64_t x = 0; x < frame.Width && frame.Left + x < width; ++x) {
            const GifPixelType index = line[static_cast<std::size_t>(x)];
            if (index == transparent) continue;
            const bool listed = index < colours->ColorCount;
            const GifColorType colour = listed ? colours->Colors[index] : GifColorType{0, 0, 0};
            std::uint8_t* out = pixels + (frame.Left + x) * 4;
            out[0] = colour.Red;
            out[1] = colour.Green;
            out[2] = colour.Blue;
            out[3] = 0xFF;
        }
    }
    return true;
}

// A block to be replaced by the background: its part of the canvas made transparent again.
void ClearBlock(const GifImageDesc& frame, RgbaImage& canvas) {
    const std::uint32_t right =
        std::min<std::uint32_t>(canvas.width, static_cast<std::uint32_t>(frame.Left) +
                                                  static_cast<std::uint32_t>(frame.Width));
    const std::uint32_t bottom =
        std::min<std::uint32_t>(canvas.height, static_cast<std::uint32_t>(frame.Top) +
                                                   static_cast<std::uint32_t>(frame.Height));
    for (std::uint32_t y = static_cast<std::uint32_t>(frame.Top); y < bottom; ++y)
        for (std::uint32_t x = static_cast<std::uint32_t>(frame.Left); x < right; ++x)
            canvas.pixels[(std::size_t{y} * canvas.width + x) * 4 + 3] = 0;
}

}  // namespace

bool LooksLikeGif(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 6 && (std::memcmp(bytes.data(), "GIF87a", 6) == 0 ||
                                 std::memcmp(bytes.data(), "GIF89a", 6) == 0);
}

MaybePicture DecodeGif(std::span<const std::uint8_t> bytes) {
    Stream stream{bytes};
    int error = 0;
    const std::unique_ptr<GifFileType, GifClose> gif(DGifOpen(&stream, Read, &error));
    if (gif == nullptr) return std::nullopt;
    StoredPicture picture;
    Control control;
    GifImageDesc toClear{};  // the last block, replaced by the background; none when empty
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) return std::nullopt;
        if (type == TERMINATE_RECORD_TYPE && !picture.image.pixels.empty()) return picture;
        if (type == EXTENSION_RECORD_TYPE) {
            if (!ReadExtension(gif.get(), &control)) return std::nullopt;
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif.get()) == GIF_ERROR)
            return std::nullopt;
        if (picture.image.pixels.empty()) picture.image = Canvas(gif.get());
        ClearBlock(toClear, picture.image);
        if (picture.image.pixels.empty() ||
            !DrawBlock(gif.get(), control.transparent, picture.image))
            return std::nullopt;
        // The still is every block before the first that is shown for a while.
        if (control.delay > 0) return picture;
        toClear = control.disposal == DISPOSE_BACKGROUND ? gif->Image : GifImageDesc{};
        control = {};
    }
}
