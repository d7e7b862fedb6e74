#pragma once

// HEIC and AVIF files made in code with libheif's encoders, so tests need no sample files.

#include <libheif/heif.h>

#include <QImage>
#include <cstdint>
#include <cstring>
#include <vector>

namespace test {

inline std::vector<std::uint8_t> HeifBytes(const QImage& picture, heif_compression_format format) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_context_get_encoder_for_format(context, format, &encoder);
    heif_encoder_set_lossy_quality(encoder, 90);
    heif_image* image = nullptr;
    heif_image_create(rgb.width(), rgb.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB,
                      &image);
    heif_image_add_plane(image, heif_channel_interleaved, rgb.width(), rgb.height(), 8);
    int stride = 0;
    std::uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(plane + y * stride, rgb.constScanLine(y),
                    static_cast<std::size_t>(rgb.width() * 3));
    heif_context_encode_image(context, image, encoder, nullptr, nullptr);

    std::vector<std::uint8_t> bytes;
    heif_writer writer{1, [](heif_context*, const void* data, size_t size, void* out) {
                           auto* target = static_cast<std::vector<std::uint8_t>*>(out);
                           const auto* from = static_cast<const std::uint8_t*>(data);
                           target->insert(target->end(), from, from + size);
                           return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
                       }};
    heif_context_write(context, &writer, &bytes);
    heif_image_release(image);
    heif_encoder_release(encoder);
    heif_context_free(context);
    return bytes;
}

}  // namespace test
