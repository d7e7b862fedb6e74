#include "decoder/HeifDecoder.h"

#include <libheif/heif.h>

#include <algorithm>
#include <memory>
#include <thread>

#include "core/picture/DecodeLimits.h"
#include "core/picture/HeifCanvas.h"
#include "decoder/HeifHandles.h"
#include "decoder/HeifTiles.h"
#include "decoder/HevcDecoderPlugin.h"
#include "decoder/Processors.h"

namespace {

// The least any decode holds per pixel: libheif's planes of 8 bits and its interleaved RGB.
// A grid's or overlay's stated canvas is checked with it before libheif reads the file; the
// image's own count follows from its handle (HeldBytesPerPixel).
constexpr unsigned kLeastHeifBytesPerPixel = 3 + 3;
// How much longer a side of the coded image may be than the declared side: a phone's tiled
// image is coded in whole tiles and cropped to the declared size.
constexpr int kCodedSideMargin = 2048;

// The canvases a grid or overlay states for itself, which libheif allocates whole before it
// checks anything against its own limits.
bool StatedCanvasesAcceptable(std::span<const std::uint8_t> bytes) {
    for (const CanvasSize& canvas : StatedCanvasSizes(bytes))
        if (!DeclaredSizeAcceptable(canvas.width, canvas.height, kLeastHeifBytesPerPixel))
            return false;
    return true;
}

bool IsGrid(std::span<const std::uint8_t> bytes) {
    const std::vector<CanvasSize> canvases = StatedCanvasSizes(bytes);
    return !canvases.empty() &&
           std::none_of(canvases.begin(), canvases.end(),
                        [](const CanvasSize& canvas) { return canvas.overlay; });
}

}  // namespace

// What a decode of the image holds per pixel, as measured of libheif 1.15 with our HEVC decoder,
// counted as if chroma were never subsampled (libheif tells no handle's chroma; a phone's 4:2:0
// holds half its chroma planes): libheif's planes, 1 byte a sample up to 8 bits and 2 above,
// with alpha a fourth; for an image coded whole, the codec's own picture of as many planes (a
// grid's codec holds one tile at a time, copied into libheif's planes); and the interleaved RGB
// (RGBA with alpha) that is stretched where it lies, with, above 8 bits, the 16-bit RGB that
// libheif converts through first.
std::uint64_t HeldBytesPerPixel(const heif_image_handle* handle, bool grid) {
    const bool alpha = heif_image_handle_has_alpha_channel(handle) != 0;
    const bool deep = heif_image_handle_get_luma_bits_per_pixel(handle) > 8 ||
                      heif_image_handle_get_chroma_bits_per_pixel(handle) > 8;
    const std::uint64_t channels = alpha ? 4 : 3;
    const std::uint64_t planes = channels * (deep ? 2 : 1);
    return planes * (grid ? 1 : 2) + channels + (deep ? 2 * channels : 0);
}

std::vector<std::uint8_t> IccProfile(const heif_image_handle* handle) {
    const heif_color_profile_type type = heif_image_handle_get_color_profile_type(handle);
    if (type != heif_color_profile_type_prof && type != heif_color_profile_type_rICC) return {};
    std::vector<std::uint8_t> profile(heif_image_handle_get_raw_color_profile_size(handle));
    if (profile.empty() ||
        heif_image_handle_get_raw_color_profile(handle, profile.data()).code != heif_error_Ok)
        return {};
    return profile;
}

CodedColour CodedColourOf(const heif_image_handle* handle) {
    if (heif_image_handle_get_color_profile_type(handle) != heif_color_profile_type_nclx) return {};
    heif_color_profile_nclx* nclx = nullptr;
    if (heif_image_handle_get_nclx_color_profile(handle, &nclx).code != heif_error_Ok ||
        nclx == nullptr)
        return {};
    const CodedColour colour{static_cast<int>(nclx->color_primaries),
                             static_cast<int>(nclx->transfer_characteristics)};
    heif_nclx_color_profile_free(nclx);
    return colour;
}

heif_decoding_options* StrictEightBitOptions() {
    heif_decoding_options* options = heif_decoding_options_alloc();
    if (options == nullptr) return nullptr;
    options->convert_hdr_to_8bit = 1;
    options->strict_decoding = 1;  // a missing tile or damaged data is an error, not a warning
    return options;
}

void InitialiseHeif() {
    static const bool initialised = [] {
        Processors();
        heif_init(nullptr);
        RegisterHevcDecoderPlugin();
        return true;
    }();
    (void)initialised;
}

DecodedPicture DecodeHeifPicture(std::span<const std::uint8_t> bytes, layout::Size size) {
    InitialiseHeif();
    if (std::optional<DecodedPicture> tiled = DecodedTileByTile(bytes, size)) return *tiled;
    return FinishedPicture(DecodeHeif(bytes), size);
}

MaybePicture DecodeHeif(std::span<const std::uint8_t> bytes) {
    InitialiseHeif();
    if (!StatedCanvasesAcceptable(bytes) || !HeifDerivesOnlyFromImages(bytes)) return std::nullopt;
    const std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (context == nullptr) return std::nullopt;
    heif_context_set_maximum_image_size_limit(context.get(), static_cast<int>(kMaxPictureSide));
    heif_context_set_max_decoding_threads(context.get(), static_cast<int>(Processors()));
    if (heif_context_read_from_memory_without_copy(context.get(), bytes.data(), bytes.size(),
                                                   nullptr)
            .code != heif_error_Ok)
        return std::nullopt;

    heif_image_handle* rawHandle = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &rawHandle).code != heif_error_Ok)
        return std::nullopt;
    const std::unique_ptr<heif_image_handle, HandleRelease> handle(rawHandle);
    const int declaredWidth = heif_image_handle_get_width(rawHandle);
    const int declaredHeight = heif_image_handle_get_height(rawHandle);
    if (!DeclaredSizeAcceptable(static_cast<std::uint64_t>(declaredWidth),
                                static_cast<std::uint64_t>(declaredHeight),
                                HeldBytesPerPixel(rawHandle, IsGrid(bytes))))
        return std::nullopt;
    // The tiles of a grid may exceed the declared size by a tile's crop, not by gigabytes.
    heif_context_set_maximum_image_size_limit(
        context.get(), std::min(static_cast<int>(kMaxPictureSide),
                                std::max(declaredWidth, declaredHeight) + kCodedSideMargin));

    const std::unique_ptr<heif_decoding_options, OptionsFree> options(StrictEightBitOptions());
    if (options == nullptr) return std::nullopt;
    // Without alpha, three bytes a pixel: a quarter less to convert, hold and stretch.
    const bool alpha = heif_image_handle_has_alpha_channel(rawHandle) != 0;
    const int channels = alpha ? 4 : 3;
    heif_image* rawImage = nullptr;
    if (heif_decode_image(rawHandle, &rawImage, heif_colorspace_RGB,
                          alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                          options.get())
            .code != heif_error_Ok)
        return std::nullopt;
    std::unique_ptr<heif_image, ImageRelease> image(rawImage);

    int stride = 0;
    std::uint8_t* pixels = heif_image_get_plane(rawImage, heif_channel_interleaved, &stride);
    const int width = heif_image_get_width(rawImage, heif_channel_interleaved);
    const int height = heif_image_get_height(rawImage, heif_channel_interleaved);
    if (pixels == nullptr || width <= 0 || height <= 0 ||
        !DeclaredSizeAcceptable(static_cast<std::uint64_t>(width),
                                static_cast<std::uint64_t>(height), 4) ||
        stride < width * channels)
        return std::nullopt;
    StoredPicture picture;
    picture.image.width = static_cast<std::uint32_t>(width);
    picture.image.height = static_cast<std::uint32_t>(height);
    picture.owner = {image.release(), ImageRelease::Untyped};
    picture.rows = pixels;
    picture.rowBytes = static_cast<std::size_t>(stride);
    picture.rowChannels = channels;
    picture.iccProfile = IccProfile(rawHandle);
    picture.codedColour = CodedColourOf(rawHandle);
    return picture;
}
