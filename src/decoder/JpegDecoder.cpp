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
#include "decoder/Colour.h"

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
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    manager->damage.Warned(info->err->msg_code);
    // Refused at once, before libjpeg makes up the rest of a picture whose header states a size
    // its data never fills.
    if (manager->damage.PixelsLost()) std::longjmp(manager->jump, 1);
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

// What libjpeg holds for the picture: the image at its decoded scale, four bytes a pixel, and
// where the file has more than one scan (progressive, or its components in scans of their
// own), every coefficient of the full image: 64 of 2 bytes for each block of 8 x 8 of each
// component at its own sampling, in whole units of the component's sampling factors. 3 bytes a
// pixel for a progressive 4:2:0 photo, 6 for 4:4:4. The rows it works on are a few MB.
std::uint64_t HeldBytes(const jpeg_decompress_struct& info) {
    std::uint64_t held = std::uint64_t{info.output_width} * info.output_height * 4;
    if (!info.progressive_mode && info.comps_in_scan >= info.num_components) return held;
    auto up = [](std::uint64_t value, std::uint64_t unit) { return (value + unit - 1) / unit; };
    for (int i = 0; i < info.num_components; ++i) {
        const jpeg_component_info& component = info.comp_info[i];
        const std::uint64_t h = static_cast<std::uint64_t>(component.h_samp_factor);
        const std::uint64_t v = static_cast<std::uint64_t>(component.v_samp_factor);
        const std::uint64_t across = up(up(std::uint64_t{info.image_width} * h,
                                           std::uint64_t(info.max_h_samp_factor) * DCTSIZE),
                                        h) *
                                     h;
        const std::uint64_t down = up(up(std::uint64_t{info.image_height} * v,
                                         std::uint64_t(info.max_v_samp_factor) * DCTSIZE),
                                      v) *
                                   v;
        held += across * down * DCTSIZE2 * sizeof(JCOEF);
    }
    return held;
}

// Adobe's CMYK JPEGs store inverted ink; the product with K gives the colour on screen.
void CmykToRgba(std::uint8_t* pixels, std::size_t bytes) {
    for (std::size_t at = 0; at < bytes; at += 4) {
        std::uint8_t* pixel = pixels + at;
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

    out->orientation = OrientationOf(info);
    ReadIcc(info, *out);
    const layout::Size need =
        SwapsSides(out->orientation) ? layout::Size{atLeast.height, atLeast.width} : atLeast;
    info.scale_num = ScaleFor(info, need);
    info.scale_denom = kScaleDenominator;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBX;
    jpeg_calc_output_dimensions(&info);
    if (!DeclaredHoldingAcceptable(info.image_width, info.image_height, HeldBytes(info)))
        return false;
    // Zeroed by calloc, whose fresh pages take no memory until rows are decoded into them: a
    // header stating a size its data never fills costs nothing.
    const std::size_t rowBytes = std::size_t{info.output_width} * 4;
    out->owner = {std::calloc(info.output_height, rowBytes), std::free};
    out->rows = static_cast<std::uint8_t*>(out->owner.get());
    if (out->rows == nullptr) return false;
    out->image.width = info.output_width;
    out->image.height = info.output_height;
    out->rowBytes = rowBytes;

    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out->rows + std::size_t{info.output_scanline} * rowBytes;
        if (jpeg_read_scanlines(&info, &row, 1) != 1) return false;
    }
    // A progressive file's scans are all read by now; finishing frees what tells of them.
    const bool whole = manager.damage.PixelsWhole(info);
    jpeg_finish_decompress(&info);
    if (cmyk) {
        // Through its CMYK profile where it carries one, else the inversion alone.
        if (!ConvertCmykToRgba(out->rows, std::size_t{info.output_width} * info.output_height,
                               out->iccProfile, info.saw_Adobe_marker != 0))
            CmykToRgba(out->rows, rowBytes * info.output_height);
        out->iccProfile.clear();
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
