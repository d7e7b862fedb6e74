#include "decoder/PngDecoder.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/io/ByteOrder.h"
#include "core/picture/ChunkOrientation.h"
#include "core/picture/DecodeLimits.h"

namespace {

constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// The most deflate makes of one byte of its stream, with room for the zlib wrapper.
constexpr std::uint64_t kMostInflated = 1032;
constexpr std::uint64_t kZlibOverhead = 64;

struct Reader {
    std::span<const std::uint8_t> bytes;
    std::size_t position = 0;
    std::jmp_buf jump;
    std::vector<png_bytep> rows;  // here, as a jump back skips the decode's own destructors
};

Reader& ReaderOf(png_structp png) { return *static_cast<Reader*>(png_get_io_ptr(png)); }

void Read(png_structp png, png_bytep out, png_size_t count) {
    Reader& reader = ReaderOf(png);
    if (count > reader.bytes.size() - reader.position) png_error(png, "read past the end");
    std::memcpy(out, reader.bytes.data() + reader.position, count);
    reader.position += count;
}

[[noreturn]] void OnError(png_structp png, png_const_charp) {
    std::longjmp(static_cast<Reader*>(png_get_error_ptr(png))->jump, 1);
}

// libpng reports damage to the pixels as errors; its warnings are about ancillary chunks it
// then leaves out (a profile it does not trust, a damaged text) or data after the last row.
void OnWarning(png_structp, png_const_charp) {}

// The bytes of all image data chunks up to the end chunk, where libpng stops too: whatever
// follows it (a second picture, padding, a writer's trailer) is no part of the picture. 0 when a
// chunk's length runs past the end.
std::uint64_t ImageDataBytes(std::span<const std::uint8_t> bytes) {
    std::uint64_t total = 0;
    for (std::size_t at = sizeof kSignature; at + 8 <= bytes.size();) {
        const std::uint64_t length = LoadBig32(&bytes[at]);
        if (std::memcmp(&bytes[at + 4], "IEND", 4) == 0) return total;
        if (length + 12 > bytes.size() - at) return 0;
        if (std::memcmp(&bytes[at + 4], "IDAT", 4) == 0) total += length;
        at += static_cast<std::size_t>(length) + 12;
    }
    return total;
}

// Rows larger than this are taken only once their data is seen to inflate to them all.
constexpr std::uint64_t kRowsTakenOnTrust = 16ull << 20;

// Whether the image data chunks up to the end chunk inflate to at least filtered bytes, inflated
// a block at a time into memory of one block and counted: deflate's most (1032 to 1) lets 440 KB
// declare the rows of a 12000 x 12000 photo, and data that stops short of them would otherwise
// be seen to only once the rows were taken and mostly filled.
bool DataFillsRows(std::span<const std::uint8_t> bytes, std::uint64_t filtered) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return false;
    std::vector<std::uint8_t> block(256 << 10);
    std::uint64_t inflated = 0;
    int status = Z_OK;
    for (std::size_t at = sizeof kSignature;
         at + 8 <= bytes.size() && status == Z_OK && inflated < filtered;) {
        const std::uint64_t length = LoadBig32(&bytes[at]);
        if (std::memcmp(&bytes[at + 4], "IEND", 4) == 0 || length + 12 > bytes.size() - at) break;
        if (std::memcmp(&bytes[at + 4], "IDAT", 4) == 0) {
            stream.next_in = const_cast<Bytef*>(&bytes[at + 8]);
            stream.avail_in = static_cast<uInt>(length);
            while (stream.avail_in > 0 && status == Z_OK && inflated < filtered) {
                stream.next_out = block.data();
                stream.avail_out = static_cast<uInt>(block.size());
                status = inflate(&stream, Z_NO_FLUSH);
                inflated += block.size() - stream.avail_out;
                if (status == Z_BUF_ERROR) {  // no progress: the chunk is used up
                    status = Z_OK;
                    break;
                }
            }
        }
        at += static_cast<std::size_t>(length) + 12;
    }
    inflateEnd(&stream);
    return inflated >= filtered;
}

// To red, green, blue and, where the picture has any, alpha: 8 bits each. Without alpha, three
// bytes a pixel: a quarter less to write, hold and stretch.
void Transform(png_structp png, png_infop info) {
    // A gamma stated alone, without a profile or the sRGB chunk, is honoured as browsers do:
    // the values corrected from it to the sRGB screen's.
    // libpng takes the file's gamma as given here, over the chunk's.
    png_fixed_point gamma = 0;
    if (png_get_gAMA_fixed(png, info, &gamma) != 0 && gamma > 0 &&
        png_get_valid(png, info, PNG_INFO_iCCP | PNG_INFO_sRGB) == 0)
        png_set_gamma_fixed(png, PNG_DEFAULT_sRGB, gamma);
    png_set_expand(png);  // palette to RGB, gray below 8 bits to 8, tRNS to alpha
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

void ReadIcc(png_structp png, png_infop info, StoredPicture& picture) {
    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 length = 0;
    if (png_get_iCCP(png, info, &name, &compression, &profile, &length) == PNG_INFO_iCCP)
        picture.iccProfile.assign(profile, profile + length);
}

// Everything between setjmp and the end lives in reader or *out, which outlast the jump back:
// no local here may need a destructor.
bool Decode(png_structp png, png_infop info, Reader& reader, StoredPicture* out) {
    if (setjmp(reader.jump) != 0) return false;
    png_set_read_fn(png, &reader, Read);
    // Each image data chunk's CRC-32 covers the zlib stream's Adler-32 too: damage is still
    // found, without a second check over every byte.
    png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
    png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
    png_set_chunk_malloc_max(png, kMaxPictureFileBytes);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const unsigned bitsPerPixel = png_get_bit_depth(png, info) * png_get_channels(png, info);
    // Each row starts with its filter byte: the data must inflate to at least this.
    const std::uint64_t filtered = std::uint64_t{height} * (1 + (width * bitsPerPixel + 7) / 8);
    if (ImageDataBytes(reader.bytes) * kMostInflated + kZlibOverhead < filtered ||
        (filtered > kRowsTakenOnTrust && !DataFillsRows(reader.bytes, filtered)))
        return false;
    ReadIcc(png, info, *out);
    Transform(png, info);
    const int channels = png_get_channels(png, info);
    const std::size_t rowBytes = std::size_t{width} * static_cast<std::size_t>(channels);
    if (!DeclaredSizeAcceptable(width, height, 4) || (channels != 3 && channels != 4) ||
        png_get_rowbytes(png, info) != rowBytes)
        return false;
    // Zeroed, like every picture's memory; calloc knows fresh pages need no clearing.
    out->owner = {std::calloc(height, rowBytes), std::free};
    out->rows = static_cast<std::uint8_t*>(out->owner.get());
    if (out->rows == nullptr) return false;
    out->image.width = width;
    out->image.height = height;
    out->rowBytes = rowBytes;
    out->rowChannels = channels;
    std::vector<png_bytep>& rows = reader.rows;
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = out->rows + y * rowBytes;
    png_read_image(png, rows.data());
    return true;
}

struct PngRelease {
    png_structp png;
    png_infop info;
    ~PngRelease() { png_destroy_read_struct(&png, &info, nullptr); }
};

}  // namespace

bool LooksLikePng(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= sizeof kSignature &&
           std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin());
}

MaybePicture DecodePng(std::span<const std::uint8_t> bytes) {
    Reader reader;
    reader.bytes = bytes;
    PngRelease png{png_create_read_struct(PNG_LIBPNG_VER_STRING, &reader, OnError, OnWarning),
                   nullptr};
    if (png.png == nullptr) return std::nullopt;
    png.info = png_create_info_struct(png.png);
    StoredPicture picture;
    if (png.info == nullptr || !Decode(png.png, png.info, reader, &picture)) return std::nullopt;
    picture.orientation = ChunkOrientation(bytes).value_or(1);
    return picture;
}
