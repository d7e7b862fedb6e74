#include "decoder/JpegDecoder.h"

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <csetjmp>
#include <cstdlib>

#include "core/picture/DecodeLimits.h"
#include "core/picture/ExifOrientation.h"
#include "core/picture/JpegFile.h"

namespace {

constexpr int kExifMarker = JPEG_APP0 + 1;
constexpr int kIccMarker = JPEG_APP0 + 2;
constexpr unsigned kScaleDenominator = 8;

// libjpeg reports through these: an error jumps back out of the decode, a warning is judged
// by its code.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    JpegDamage damage;
};

[[noreturn]] void OnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
    if (level >= 0) return;  // traces, not warnings
    reinterpret_cast<ErrorManager*>(info->err)->damage.Warned(info->err->msg_code);
}

int OrientationOf(const jpeg_decompress_struct& info) {
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker != nullptr; marker = marker->next)
        if (marker->marker == kExifMarker)
            return ExifOrientation(std::span(marker->data, marker->data_length));
    return 1;
}

// The smallest scale n/8 at which the stored image still covers need on both sides.
unsigned ScaleFor(const jpeg_decompress_struct& info, layout::Size need) {
    for (unsigned n = 1; n < kScaleDenominator; ++n) {
        const auto width = (info.image_width * n + kScaleDenominator - 1) / kScaleDenominator;
        const auto height = (info.image_height * n + kScaleDenominator - 1) / kScaleDenominator;
        if (width >= static_cast<unsigned>(need.width) &&
            height >= static_cast<unsigned>(need.height))
            return n;
    }
    return kScaleDenominator;
}

// Adobe's CMYK JPEGs store inverted ink; the product with K gives the colour on screen.
void CmykToRgba(RgbaImage& image) {
    for (std::size_t at = 0; at < image.pixels.size(); at += 4) {
        std::uint8_t* pixel = &image.pixels[at];
        const int k = pixel[3];
        for (int channel = 0; channel < 3; ++channel)
            pixel[channel] = static_cast<std::uint8_t>(pixel[channel] * k / 255);
        pixel[3] = 255;
    }
}

void ReadIcc(jpeg_decompress_struct& info, StoredPicture& picture) {
    JOCTET* profile = nullptr;
    unsigned int length = 0;
    if (jpeg_read_icc_profile(&info, &profile, &length) && profile != nullptr)
        picture.iccProfile.assign(profile, profile + length);
    std::free(profile);
}

// Everything between setjmp and the end lives in info, manager or *out, which outlast the
// jump back, so no local changes across it.
bool Decode(jpeg_decompress_struct& info, ErrorManager& manager,
            std::span<const std::uint8_t> bytes, layout::Size atLeast, StoredPicture* out) {
    if (setjmp(manager.jump) != 0) return false;
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = static_cast<long>(kMaxDecodeBytes);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_save_markers(&info, kExifMarker, 0xFFFF);
    jpeg_save_markers(&info, kIccMarker, 0xFFFF);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;

    // A progressive file holds every coefficient of the full image while it decodes.
    const unsigned bytesPerPixel = info.progressive_mode ? 2 * info.num_components : 1;
    if (!DeclaredSizeAcceptable(info.image_width, info.image_height, bytesPerPixel)) return false;

    out->orientation = OrientationOf(info);
    ReadIcc(info, *out);
    const layout::Size need =
        SwapsSides(out->orientation) ? layout::Size{atLeast.height, atLeast.width} : atLeast;
    info.scale_num = ScaleFor(info, need);
    info.scale_denom = kScaleDenominator;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBX;
    jpeg_calc_output_dimensions(&info);
    out->image = TransparentImage(info.output_width, info.output_height);
    if (out->image.pixels.empty()) return false;

    jpeg_start_decompress(&info);
    const std::size_t rowBytes = std::size_t{info.output_width} * 4;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &out->image.pixels[info.output_scanline * rowBytes];
        if (jpeg_read_scanlines(&info, &row, 1) != 1) return false;
    }
    // A progressive file's scans are all read by now; finishing frees what tells of them.
    const bool whole = manager.damage.PixelsWhole(info);
    jpeg_finish_decompress(&info);
    if (cmyk) {
        CmykToRgba(out->image);
        out->iccProfile.clear();  // a CMYK profile: the conversion above stands in for it
    }
    return whole;
}

}  // namespace

bool LooksLikeJpeg(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8;
}

MaybePicture DecodeJpeg(std::span<const std::uint8_t> bytes, layout::Size atLeast) {
    jpeg_decompress_struct info{};
    ErrorManager manager{};
    info.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = OnError;
    manager.base.emit_message = OnMessage;
    StoredPicture picture;
    const bool whole = Decode(info, manager, bytes, atLeast, &picture);
    jpeg_destroy_decompress(&info);
    if (!whole) return std::nullopt;
    return picture;
}
