#include "decoder/TiffDecoder.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "core/library/DecodeLimits.h"

namespace {

constexpr unsigned kRgbaBytes = 4;

// The file's bytes as libtiff reads them: a read-only stream that also maps whole.
struct Stream {
    std::span<const std::uint8_t> bytes;
    toff_t position = 0;
};

tmsize_t Read(thandle_t handle, void* buffer, tmsize_t size) {
    auto* stream = static_cast<Stream*>(handle);
    if (size < 0 || stream->position >= stream->bytes.size()) return 0;
    const auto count = std::min<std::uint64_t>(static_cast<std::uint64_t>(size),
                                               stream->bytes.size() - stream->position);
    std::memcpy(buffer, stream->bytes.data() + stream->position, count);
    stream->position += count;
    return static_cast<tmsize_t>(count);
}

tmsize_t Write(thandle_t, void*, tmsize_t) { return -1; }

toff_t Seek(thandle_t handle, toff_t offset, int whence) {
    auto* stream = static_cast<Stream*>(handle);
    const toff_t base = whence == SEEK_CUR   ? stream->position
                        : whence == SEEK_END ? stream->bytes.size()
                                             : 0;
    stream->position = base + offset;
    return stream->position;
}

int Close(thandle_t) { return 0; }

toff_t Size(thandle_t handle) { return static_cast<Stream*>(handle)->bytes.size(); }

int Map(thandle_t handle, void** base, toff_t* size) {
    auto* stream = static_cast<Stream*>(handle);
    *base = const_cast<std::uint8_t*>(stream->bytes.data());  // libtiff only reads a mapping
    *size = stream->bytes.size();
    return 1;
}

void Unmap(thandle_t, void*, toff_t) {}

// Damage is told by the results; the messages would only go to the terminal.
int Silence(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TiffClose {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
struct OptionsFree {
    void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

}  // namespace

bool LooksLikeTiff(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 4) return false;
    const bool little =
        bytes[0] == 'I' && bytes[1] == 'I' && (bytes[2] == 42 || bytes[2] == 43) && bytes[3] == 0;
    const bool big =
        bytes[0] == 'M' && bytes[1] == 'M' && bytes[2] == 0 && (bytes[3] == 42 || bytes[3] == 43);
    return little || big;
}

QImage DecodeTiff(std::span<const std::uint8_t> bytes, std::uint8_t fill, int* orientation) {
    const std::unique_ptr<TIFFOpenOptions, OptionsFree> options(TIFFOpenOptionsAlloc());
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), static_cast<tmsize_t>(kMaxDecodeBytes));
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), Silence, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), Silence, nullptr);
    Stream stream{bytes};
    const std::unique_ptr<TIFF, TiffClose> tiff(TIFFClientOpenExt(
        "picture", "rm", &stream, Read, Write, Seek, Close, Size, Map, Unmap, options.get()));
    if (tiff == nullptr) return {};

    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint16_t stored = ORIENTATION_TOPLEFT;
    if (TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width) != 1 ||
        TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height) != 1 ||
        !DeclaredSizeAcceptable(width, height, kRgbaBytes))
        return {};
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_ORIENTATION, &stored);
    if (stored < ORIENTATION_TOPLEFT || stored > ORIENTATION_LEFTBOT) stored = ORIENTATION_TOPLEFT;

    QImage image(static_cast<int>(width), static_cast<int>(height),
                 QImage::Format_RGBA8888_Premultiplied);
    if (image.isNull()) return {};
    std::memset(image.bits(), fill, static_cast<std::size_t>(image.sizeInBytes()));
    // Asked for in its own orientation, libtiff leaves the rows as stored, top first; the
    // turn to upright is the caller's, as for every other format (libtiff would only flip).
    static_assert(sizeof(std::uint32_t) == kRgbaBytes);
    if (TIFFReadRGBAImageOriented(tiff.get(), width, height,
                                  reinterpret_cast<std::uint32_t*>(image.bits()), stored, 1) != 1)
        return {};
    *orientation = stored;
    return image;
}
