#include "decoder/HevcDecoderPlugin.h"

#include <libde265/de265.h>
#include <libheif/heif_plugin.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>
#include <thread>
#include <vector>

#include "decoder/Processors.h"

namespace {

// Above libheif's own HEVC decoder, which registers with the default, 100.
constexpr int kPriority = 120;
// libde265 refuses more worker threads than this.
constexpr unsigned kMaxThreads = 32;
// libheif hands the stream over as NAL units, each after its size in four big-endian bytes.
constexpr std::size_t kNalSizeBytes = 4;

// The stream pushed so far. Decoding is always strict: libheif 1.15 passes strict_decoding=0 to
// its decoders whatever its caller asked, and a damaged stream decodes to concealed, wrong pixels.
struct Decoder {
    std::vector<std::uint8_t> stream;
};

struct De265Free {
    void operator()(de265_decoder_context* context) const { de265_free_decoder(context); }
};
using De265Context = std::unique_ptr<de265_decoder_context, De265Free>;

struct ImageRelease {
    void operator()(heif_image* image) const { heif_image_release(image); }
};
using HeifImage = std::unique_ptr<heif_image, ImageRelease>;

struct NclxFree {
    void operator()(heif_color_profile_nclx* nclx) const { heif_nclx_color_profile_free(nclx); }
};

heif_error Ok() { return {heif_error_Ok, heif_suberror_Unspecified, "Success"}; }

heif_error Failure(heif_suberror_code subcode, const char* message) {
    return {heif_error_Decoder_plugin_error, subcode, message};
}

// de265_get_error_text gives texts that live for the whole run, as heif_error needs.
heif_error Failure(de265_error error) {
    return Failure(heif_suberror_Unspecified, de265_get_error_text(error));
}

// Warnings about how we run the decoder, not about the stream.
bool AboutThreadsOnly(de265_error warning) {
    return warning == DE265_WARNING_NO_WPP_CANNOT_USE_MULTITHREADING ||
           warning == DE265_WARNING_NUMBER_OF_THREADS_LIMITED_TO_MAXIMUM;
}

const char* PluginName() { return "Threaded HEVC decoder (libde265)"; }

int SupportedPriority(heif_compression_format format) {
    return format == heif_compression_HEVC ? kPriority : 0;
}

heif_error OutOfMemory() {
    return {heif_error_Memory_allocation_error, heif_suberror_Unspecified, "Out of memory"};
}

heif_error NewDecoder(void** decoder) {
    *decoder = new (std::nothrow) Decoder;
    return *decoder == nullptr ? OutOfMemory() : Ok();
}

void FreeDecoder(void* decoder) { delete static_cast<Decoder*>(decoder); }

// Ignored: see Decoder.
void SetStrictDecoding(void*, int) {}

heif_error PushData(void* decoder, const void* data, size_t size) {
    auto& stream = static_cast<Decoder*>(decoder)->stream;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    try {  // no exception may cross libheif's C interface
        stream.insert(stream.end(), bytes, bytes + size);
    } catch (const std::bad_alloc&) {
        return OutOfMemory();
    }
    return Ok();
}

// Hands every NAL unit of stream to libde265; refuses a size that runs past the end.
heif_error PushNalUnits(de265_decoder_context* context, const std::vector<std::uint8_t>& stream) {
    std::size_t at = 0;
    while (at < stream.size()) {
        if (stream.size() - at < kNalSizeBytes)
            return Failure(heif_suberror_End_of_data, "HEVC data ends inside a NAL unit size");
        std::size_t size = 0;
        for (std::size_t i = 0; i < kNalSizeBytes; ++i) size = size << 8 | stream[at + i];
        at += kNalSizeBytes;
        if (size > stream.size() - at || size > INT_MAX)
            return Failure(heif_suberror_End_of_data, "HEVC NAL unit runs past the data");
        const de265_error error =
            de265_push_NAL(context, stream.data() + at, static_cast<int>(size), 0, nullptr);
        if (error != DE265_OK) return Failure(error);
        at += size;
    }
    return Ok();
}

// Decodes until the first picture is out; any error or warning about the stream fails.
heif_error DecodeFirstPicture(de265_decoder_context* context) {
    if (const de265_error error = de265_flush_data(context); error != DE265_OK)
        return Failure(error);
    int more = 1;
    while (more != 0 && de265_peek_next_picture(context) == nullptr) {
        const de265_error error = de265_decode(context, &more);
        // Neither stall can end after a flush: the picture is out, or it never will be.
        if (error == DE265_ERROR_IMAGE_BUFFER_FULL || error == DE265_ERROR_WAITING_FOR_INPUT_DATA)
            break;
        if (error != DE265_OK) return Failure(error);
    }
    for (de265_error warning; (warning = de265_get_warning(context)) != DE265_OK;)
        if (!AboutThreadsOnly(warning)) return Failure(warning);
    return Ok();
}

struct Layout {
    heif_colorspace colorspace;
    heif_chroma chroma;
    int planes;
};

// By libde265's chroma format: monochrome, 4:2:0, 4:2:2, 4:4:4.
constexpr Layout kLayouts[] = {{heif_colorspace_monochrome, heif_chroma_monochrome, 1},
                               {heif_colorspace_YCbCr, heif_chroma_420, 3},
                               {heif_colorspace_YCbCr, heif_chroma_422, 3},
                               {heif_colorspace_YCbCr, heif_chroma_444, 3}};
static_assert(de265_chroma_mono == 0 && de265_chroma_444 == 3);

// The stream's own colour description, for files without one of their own.
heif_error DescribeColours(const de265_image* picture, heif_image* image) {
    const std::unique_ptr<heif_color_profile_nclx, NclxFree> nclx(heif_nclx_color_profile_alloc());
    if (nclx == nullptr) return OutOfMemory();
    heif_nclx_color_profile_set_color_primaries(
        nclx.get(), static_cast<std::uint16_t>(de265_get_image_colour_primaries(picture)));
    heif_nclx_color_profile_set_transfer_characteristics(
        nclx.get(), static_cast<std::uint16_t>(de265_get_image_transfer_characteristics(picture)));
    heif_nclx_color_profile_set_matrix_coefficients(
        nclx.get(), static_cast<std::uint16_t>(de265_get_image_matrix_coefficients(picture)));
    nclx->full_range_flag = static_cast<std::uint8_t>(de265_get_image_full_range_flag(picture));
    return heif_image_set_nclx_color_profile(image, nclx.get());
}

// Copies libde265's picture, which lives only until the decoder is freed, into a heif_image.
heif_error CopyPicture(const de265_image* picture, HeifImage& out) {
    const auto format = static_cast<std::size_t>(de265_get_chroma_format(picture));
    if (format >= std::size(kLayouts))
        return Failure(heif_suberror_Unsupported_image_type, "Unknown HEVC chroma format");
    const Layout& layout = kLayouts[format];
    heif_image* raw = nullptr;
    const heif_error created =
        heif_image_create(de265_get_image_width(picture, 0), de265_get_image_height(picture, 0),
                          layout.colorspace, layout.chroma, &raw);
    if (created.code != heif_error_Ok) return created;
    out.reset(raw);

    constexpr heif_channel kChannels[] = {heif_channel_Y, heif_channel_Cb, heif_channel_Cr};
    for (int c = 0; c < layout.planes; ++c) {
        const int width = de265_get_image_width(picture, c);
        const int height = de265_get_image_height(picture, c);
        const int bits = de265_get_bits_per_pixel(picture, c);
        int fromStride = 0;
        const std::uint8_t* from = de265_get_image_plane(picture, c, &fromStride);
        if (from == nullptr || width <= 0 || height <= 0 || bits < 1 || bits > 16)
            return Failure(heif_suberror_Unsupported_image_type, "HEVC picture without pixels");
        const heif_error added = heif_image_add_plane(raw, kChannels[c], width, height, bits);
        if (added.code != heif_error_Ok) return added;
        int toStride = 0;
        std::uint8_t* to = heif_image_get_plane(raw, kChannels[c], &toStride);
        const auto rowBytes = static_cast<std::size_t>(width) * (bits > 8 ? 2 : 1);
        for (int y = 0; y < height; ++y)
            std::memcpy(to + static_cast<std::ptrdiff_t>(y) * toStride,
                        from + static_cast<std::ptrdiff_t>(y) * fromStride, rowBytes);
    }
    return DescribeColours(picture, raw);
}

heif_error DecodeImage(void* opaque, heif_image** out) {
    *out = nullptr;
    auto& decoder = *static_cast<Decoder*>(opaque);
    const De265Context context(de265_new_decoder());
    if (context == nullptr)
        return Failure(heif_suberror_Unspecified, "Cannot start the HEVC decoder");
    // When no thread starts, libde265 decodes on the calling thread instead.
    de265_start_worker_threads(context.get(),
                               static_cast<int>(std::min(Processors(), kMaxThreads)));

    if (const heif_error pushed = PushNalUnits(context.get(), decoder.stream);
        pushed.code != heif_error_Ok)
        return pushed;
    std::vector<std::uint8_t>().swap(decoder.stream);  // libde265 holds its own copy now
    if (const heif_error decoded = DecodeFirstPicture(context.get()); decoded.code != heif_error_Ok)
        return decoded;

    const de265_image* picture = de265_get_next_picture(context.get());
    if (picture == nullptr)
        return Failure(heif_suberror_End_of_data, "HEVC data without a complete picture");
    HeifImage image;
    if (const heif_error copied = CopyPicture(picture, image); copied.code != heif_error_Ok)
        return copied;
    *out = image.release();
    return Ok();
}

const heif_decoder_plugin kPlugin{
    .plugin_api_version = 3,
    .get_plugin_name = PluginName,
    .init_plugin = nullptr,
    .deinit_plugin = nullptr,
    .does_support_format = SupportedPriority,
    .new_decoder = NewDecoder,
    .free_decoder = FreeDecoder,
    .push_data = PushData,
    .decode_image = DecodeImage,
    .set_strict_decoding = SetStrictDecoding,
    .id_name = kHevcDecoderPluginId,
};

}  // namespace

void RegisterHevcDecoderPlugin() { heif_register_decoder_plugin(&kPlugin); }
