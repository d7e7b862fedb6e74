#include "decoder/WebpDecoder.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <cstring>
#include <memory>

#include "core/picture/ChunkOrientation.h"
#include "core/picture/DecodeLimits.h"

namespace {

// The demuxer composes a frame on one canvas while keeping the one before; the lossless
// decoder holds the whole picture as well as ours.
constexpr unsigned kAnimationBytesPerPixel = 8;
constexpr unsigned kLosslessBytesPerPixel = 8;
constexpr int kLosslessFormat = 2;

struct DemuxDelete {
    void operator()(WebPDemuxer* demuxer) const { WebPDemuxDelete(demuxer); }
};
struct AnimationDelete {
    void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};

bool DecodeStill(std::span<const std::uint8_t> bytes, const WebPBitstreamFeatures& features,
                 RgbaImage& image) {
    if (features.format == kLosslessFormat &&
        !DeclaredSizeAcceptable(static_cast<std::uint64_t>(features.width),
                                static_cast<std::uint64_t>(features.height),
                                kLosslessBytesPerPixel))
        return false;
    image = TransparentImage(static_cast<std::uint32_t>(features.width),
                             static_cast<std::uint32_t>(features.height));
    return !image.pixels.empty() &&
           WebPDecodeRGBAInto(bytes.data(), bytes.size(), image.pixels.data(), image.pixels.size(),
                              features.width * 4) != nullptr;
}

bool DecodeFirstFrame(const WebPData& data, RgbaImage& image) {
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options)) return false;
    options.color_mode = MODE_RGBA;
    options.use_threads = 0;
    const std::unique_ptr<WebPAnimDecoder, AnimationDelete> decoder(
        WebPAnimDecoderNew(&data, &options));
    WebPAnimInfo info;
    if (decoder == nullptr || !WebPAnimDecoderGetInfo(decoder.get(), &info) ||
        !DeclaredSizeAcceptable(info.canvas_width, info.canvas_height, kAnimationBytesPerPixel))
        return false;
    std::uint8_t* canvas = nullptr;
    int timestamp = 0;
    if (!WebPAnimDecoderGetNext(decoder.get(), &canvas, &timestamp)) return false;
    image = TransparentImage(info.canvas_width, info.canvas_height);
    if (image.pixels.empty()) return false;
    std::memcpy(image.pixels.data(), canvas, image.pixels.size());
    return true;
}

std::vector<std::uint8_t> IccProfile(const WebPData& data) {
    const std::unique_ptr<WebPDemuxer, DemuxDelete> demuxer(WebPDemux(&data));
    WebPChunkIterator chunk;
    if (demuxer == nullptr || !WebPDemuxGetChunk(demuxer.get(), "ICCP", 1, &chunk)) return {};
    std::vector<std::uint8_t> profile(chunk.chunk.bytes, chunk.chunk.bytes + chunk.chunk.size);
    WebPDemuxReleaseChunkIterator(&chunk);
    return profile;
}

}  // namespace

bool LooksLikeWebp(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 12 && std::memcmp(bytes.data(), "RIFF", 4) == 0 &&
           std::memcmp(bytes.data() + 8, "WEBP", 4) == 0;
}

MaybePicture DecodeWebp(std::span<const std::uint8_t> bytes) {
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(bytes.data(), bytes.size(), &features) != VP8_STATUS_OK)
        return std::nullopt;
    const WebPData data{bytes.data(), bytes.size()};
    StoredPicture picture;
    if (!(features.has_animation ? DecodeFirstFrame(data, picture.image)
                                 : DecodeStill(bytes, features, picture.image)))
        return std::nullopt;
    picture.iccProfile = IccProfile(data);
    picture.orientation = ChunkOrientation(bytes).value_or(1);
    return picture;
}
