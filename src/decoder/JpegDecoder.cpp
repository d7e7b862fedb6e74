#include "decoder/JpegDecoder.h"

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <csetjmp>

#include "core/library/DecodeLimits.h"
#include "core/library/ExifOrientation.h"
#include "decoder/Orientation.h"

namespace {

constexpr int kExifMarker = JPEG_APP0 + 1;
constexpr int kScaleDenominator = 8;

// libjpeg reports through these: an error jumps back out of the decode, a warning is judged
// by its code. Only warnings about bytes that carry no pixels leave the picture whole.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    bool pixelsLost;
};

bool LeavesPixelsWhole(int code) {
    switch (code) {
        case JWRN_EXTRANEOUS_DATA:
        case JWRN_JFIF_MAJOR:
        case JWRN_ADOBE_XFORM:
        case JWRN_BOGUS_ICC:
            return true;
        default:
            return false;
    }
}

[[noreturn]] void OnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
    if (level >= 0) return;  // traces, not warnings
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    if (!LeavesPixelsWhole(manager->base.msg_code)) manager->pixelsLost = true;
}

int OrientationOf(const jpeg_decompress_struct& info) {
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker != nullptr; marker = marker->next)
        if (marker->marker == kExifMarker)
            return ExifOrientation(std::span(marker->data, marker->data_length));
    return 1;
}

// The smallest scale n/8 at which the stored image still covers need on both sides.
unsigned ScaleFor(const jpeg_decompress_struct& info, const QSize& need) {
    for (unsigned n = 1; n < kScaleDenominator; ++n) {
        const auto width = (info.image_width * n + kScaleDenominator - 1) / kScaleDenominator;
        const auto height = (info.image_height * n + kScaleDenominator - 1) / kScaleDenominator;
        if (width >= static_cast<unsigned>(need.width()) &&
            height >= static_cast<unsigned>(need.height()))
            return n;
    }
    return kScaleDenominator;
}

// Adobe's CMYK JPEGs store inverted ink; the product with K gives the colour on screen.
void CmykToRgb(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        auto* pixel = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const auto* cmyk = reinterpret_cast<const std::uint8_t*>(&pixel[x]);
            const int k = cmyk[3];
            pixel[x] = qRgb(cmyk[0] * k / 255, cmyk[1] * k / 255, cmyk[2] * k / 255);
        }
    }
}

// Everything between setjmp and the end lives in info, manager or *out, which outlast the
// jump back, so no local changes across it.
bool Decode(jpeg_decompress_struct& info, ErrorManager& manager,
            std::span<const std::uint8_t> bytes, const QSize& atLeast, QImage* out,
            int* orientation) {
    if (setjmp(manager.jump) != 0) return false;
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = static_cast<long>(kMaxDecodeBytes);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_save_markers(&info, kExifMarker, 0xFFFF);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;

    // A progressive file holds every coefficient of the full image while it decodes.
    const unsigned bytesPerPixel = info.progressive_mode ? 2 * info.num_components : 1;
    if (!DeclaredSizeAcceptable(info.image_width, info.image_height, bytesPerPixel)) return false;

    *orientation = OrientationOf(info);
    const QSize need = SwapsSides(*orientation) ? atLeast.transposed() : atLeast;
    info.scale_num = ScaleFor(info, need);
    info.scale_denom = kScaleDenominator;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_calc_output_dimensions(&info);
    if (!DeclaredSizeAcceptable(info.output_width, info.output_height, 4)) return false;

    *out = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                  QImage::Format_RGB32);
    if (out->isNull()) return false;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out->scanLine(static_cast<int>(info.output_scanline));
        if (jpeg_read_scanlines(&info, &row, 1) != 1) return false;
    }
    jpeg_finish_decompress(&info);
    if (cmyk) CmykToRgb(*out);
    return !manager.pixelsLost;
}

}  // namespace

bool LooksLikeJpeg(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8;
}

QImage DecodeJpeg(std::span<const std::uint8_t> bytes, const QSize& atLeast) {
    jpeg_decompress_struct info{};
    ErrorManager manager{};
    info.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = OnError;
    manager.base.emit_message = OnMessage;
    QImage image;
    int orientation = 1;
    const bool whole = Decode(info, manager, bytes, atLeast, &image, &orientation);
    jpeg_destroy_decompress(&info);
    return whole ? Upright(image, orientation) : QImage();
}
