#include "decoder/TiffDecoder.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "core/picture/DecodeLimits.h"
#include "decoder/TiffSamples.h"

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

// Whether an uncompressed image's data is there for all its pixels: a few hundred bytes may
// declare a picture of hundreds of megabytes. Only the bytes inside the file count, as libtiff
// makes up the sizes of strips it finds implausible. Compressed data is judged by its codec.
bool DataCanFill(TIFF* tiff, std::uint64_t fileSize) {
    std::uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
    if (compression != COMPRESSION_NONE) return true;
    const bool tiled = TIFFIsTiled(tiff) != 0;
    const std::uint32_t count = tiled ? TIFFNumberOfTiles(tiff) : TIFFNumberOfStrips(tiff);
    std::uint64_t held = 0;
    for (std::uint32_t strile = 0; strile < count; ++strile) {
        const std::uint64_t offset = TIFFGetStrileOffset(tiff, strile);
        if (offset < fileSize)
            held += std::min(TIFFGetStrileByteCount(tiff, strile), fileSize - offset);
    }
    std::uint16_t planar = PLANARCONFIG_CONTIG;
    std::uint16_t samples = 1;
    std::uint32_t height = 0;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    const std::uint64_t needed =
        tiled ? TIFFTileSize64(tiff) * TIFFNumberOfTiles(tiff)
              : TIFFScanlineSize64(tiff) * height * (planar == PLANARCONFIG_SEPARATE ? samples : 1);
    return held >= needed;
}

// A camera's or an editor's Adobe RGB or ProPhoto profile: the pixels mean its colours.
void ReadIcc(TIFF* tiff, StoredPicture& picture) {
    std::uint32_t size = 0;
    const std::uint8_t* profile = nullptr;
    if (TIFFGetField(tiff, TIFFTAG_ICCPROFILE, &size, &profile) == 1 && profile != nullptr)
        picture.iccProfile.assign(profile, profile + size);
}

MaybePicture SamplesRead(TIFF* tiff, StoredPicture picture) {
    picture.image = ReadTiffSamples(tiff);
    if (picture.image.pixels.empty()) return std::nullopt;
    ReadIcc(tiff, picture);
    return picture;
}

}  // namespace

bool LooksLikeTiff(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 4) return false;
    const bool little =
        bytes[0] == 'I' && bytes[1] == 'I' && (bytes[2] == 42 || bytes[2] == 43) && bytes[3] == 0;
    const bool big =
        bytes[0] == 'M' && bytes[1] == 'M' && bytes[2] == 0 && (bytes[3] == 42 || bytes[3] == 43);
    return little || big;
}

MaybePicture DecodeTiff(std::span<const std::uint8_t> bytes) {
    const std::unique_ptr<TIFFOpenOptions, OptionsFree> options(TIFFOpenOptionsAlloc());
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), static_cast<tmsize_t>(kMaxDecodeBytes));
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), Silence, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), Silence, nullptr);
    Stream stream{bytes};
    // Mapped ("r", not "rm"): libtiff reads uncompressed tiles only from a mapping.
    const std::unique_ptr<TIFF, TiffClose> tiff(TIFFClientOpenExt(
        "picture", "r", &stream, Read, Write, Seek, Close, Size, Map, Unmap, options.get()));
    if (tiff == nullptr) return std::nullopt;

    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint16_t stored = ORIENTATION_TOPLEFT;
    if (TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width) != 1 ||
        TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height) != 1 ||
        !DeclaredSizeAcceptable(width, height, kRgbaBytes) ||
        !DataCanFill(tiff.get(), bytes.size()))
        return std::nullopt;
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_ORIENTATION, &stored);
    if (stored < ORIENTATION_TOPLEFT || stored > ORIENTATION_LEFTBOT) stored = ORIENTATION_TOPLEFT;

    StoredPicture picture;
    picture.orientation = stored;
    // Sample kinds libtiff's RGBA reader refuses (12 bits, 16-bit CMYK), or takes for what they
    // are not (signed or floating-point samples read as unsigned): read through its strips and
    // tiles.
    std::uint16_t format = SAMPLEFORMAT_UINT;
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_SAMPLEFORMAT, &format);
    char why[1024];
    if (format != SAMPLEFORMAT_UINT || TIFFRGBAImageOK(tiff.get(), why) != 1)
        return SamplesRead(tiff.get(), std::move(picture));
    // Zeroed: a row libtiff leaves unwritten reads as transparent black, the same every time.
    picture.image = TransparentImage(width, height);
    if (picture.image.pixels.empty()) return std::nullopt;
    // Asked for in its own orientation, libtiff leaves the rows as stored, top first; the
    // turn to upright is the caller's, as for every other format (libtiff would only flip).
    // Its pixels are red, green, blue, alpha bytes in memory order, alpha premultiplied.
    static_assert(sizeof(std::uint32_t) == kRgbaBytes);
    if (TIFFReadRGBAImageOriented(tiff.get(), width, height,
                                  reinterpret_cast<std::uint32_t*>(picture.image.pixels.data()),
                                  stored, 1) != 1) {
        // Its test passes some it has no reader for, such as 16-bit CMYK.
        picture.image = {};
        return SamplesRead(tiff.get(), std::move(picture));
    }
    picture.premultiplied = true;
    ReadIcc(tiff.get(), picture);
    return picture;
}
