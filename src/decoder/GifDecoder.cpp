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

// The transparent colour of the graphic control extension just read, or NO_TRANSPARENT_COLOR.
bool ReadExtension(GifFileType* gif, int* transparent) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] == 4) {
        GraphicsControlBlock control{};
        if (DGifExtensionToGCB(4, block + 1, &control) == GIF_OK)
            *transparent = control.TransparentColor;
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

MaybePicture DecodeFrame(GifFileType* gif, int transparent) {
    if (DGifGetImageDesc(gif) == GIF_ERROR) return std::nullopt;
    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* colours = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
    if (colours == nullptr || frame.Width <= 0 || frame.Height <= 0) return std::nullopt;
    const int right = frame.Left + frame.Width;
    const int bottom = frame.Top + frame.Height;
    StoredPicture picture;
    picture.image = TransparentImage(static_cast<std::uint32_t>(std::max(gif->SWidth, right)),
                                     static_cast<std::uint32_t>(std::max(gif->SHeight, bottom)));
    if (picture.image.pixels.empty()) return std::nullopt;

    std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
    const std::size_t rowBytes = std::size_t{picture.image.width} * 4;
    for (const int y : StoredRowOrder(frame.Height, frame.Interlace)) {
        if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) return std::nullopt;
        std::uint8_t* out =
            &picture.image.pixels[static_cast<std::size_t>(frame.Top + y) * rowBytes +
                                  static_cast<std::size_t>(frame.Left) * 4];
        for (const GifPixelType index : line) {
            if (index != transparent) {
                const bool listed = index < colours->ColorCount;
                const GifColorType colour = listed ? colours->Colors[index] : GifColorType{0, 0, 0};
                out[0] = colour.Red;
                out[1] = colour.Green;
                out[2] = colour.Blue;
                out[3] = 0xFF;
            }
            out += 4;
        }
    }
    return picture;
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
    int transparent = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) return std::nullopt;
        if (type == IMAGE_DESC_RECORD_TYPE) return DecodeFrame(gif.get(), transparent);
        if (type != EXTENSION_RECORD_TYPE || !ReadExtension(gif.get(), &transparent))
            return std::nullopt;
    }
}
