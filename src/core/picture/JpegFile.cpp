#include "core/picture/JpegFile.h"

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <csetjmp>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kDefaultQuality = 75;
constexpr int kDotsPerInch = 100;

// libjpeg ends a failed call by jumping back here; its warnings are not failures, but they are
// noted.
struct ErrorJump {
    jpeg_error_mgr manager{};
    std::jmp_buf back{};
    JpegDamage damage;
};

[[noreturn]] void JumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->back, 1);
}

void NoteWarning(j_common_ptr info, int level) {
    if (level < 0) reinterpret_cast<ErrorJump*>(info->err)->damage.Warned(info->err->msg_code);
}

void ReportErrorsBy(ErrorJump& errors) {
    jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JumpBack;
    errors.manager.emit_message = NoteWarning;
}

struct Freed {
    void operator()(unsigned char* memory) const { std::free(memory); }
};

}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const RgbaImage& image) {
    if (image.width == 0 || image.height == 0) return {};
    jpeg_compress_struct info{};
    ErrorJump errors;
    ReportErrorsBy(errors);
    info.err = &errors.manager;
    // libjpeg's buffer, grown as it writes; in memory whose address it holds, so that a jump
    // back finds what it last wrote there.
    struct Output {
        unsigned char* memory = nullptr;
        unsigned long size = 0;
    } output;
    // Nothing with a destructor is made between here and a jump back.
    if (setjmp(errors.back) != 0) {
        jpeg_destroy_compress(&info);
        std::free(output.memory);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &output.memory, &output.size);
    info.image_width = image.width;
    info.image_height = image.height;
    info.input_components = 4;
    info.in_color_space = JCS_EXT_RGBX;
    jpeg_set_defaults(&info);
    info.density_unit = 1;
    info.X_density = kDotsPerInch;
    info.Y_density = kDotsPerInch;
    jpeg_set_quality(&info, kDefaultQuality, TRUE);
    jpeg_start_compress(&info, TRUE);
    const std::size_t rowBytes = std::size_t{image.width} * 4;
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPLE*>(image.pixels.data() + info.next_scanline * rowBytes);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const std::unique_ptr<unsigned char, Freed> owned(output.memory);
    return {output.memory, output.memory + output.size};
}

namespace {

// The size the header states, or with decodeRows, every row decoded, the size decoded; then
// whole, when given, tells whether every pixel came.
std::optional<layout::Size> JpegSize(std::span<const std::uint8_t> bytes, bool decodeRows,
                                     bool* whole = nullptr) {
    jpeg_decompress_struct info{};
    ErrorJump errors;
    ReportErrorsBy(errors);
    info.err = &errors.manager;
    if (setjmp(errors.back) != 0) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    layout::Size size{static_cast<int>(info.image_width), static_cast<int>(info.image_height)};
    if (decodeRows) {
        jpeg_start_decompress(&info);
        // In the decoder's own memory, which jpeg_destroy_decompress frees.
        JSAMPARRAY row =
            (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                      info.output_width * info.output_components, 1);
        while (info.output_scanline < info.output_height) jpeg_read_scanlines(&info, row, 1);
        size = {static_cast<int>(info.output_width), static_cast<int>(info.output_height)};
        if (whole != nullptr) *whole = errors.damage.PixelsWhole(info);
        jpeg_finish_decompress(&info);
    }
    jpeg_destroy_decompress(&info);
    return size;
}

}  // namespace

std::optional<layout::Size> StatedJpegSize(std::span<const std::uint8_t> bytes) {
    return JpegSize(bytes, false);
}

std::optional<layout::Size> DecodedJpegSize(std::span<const std::uint8_t> bytes) {
    return JpegSize(bytes, true);
}

bool JpegDecodesWhole(std::span<const std::uint8_t> bytes) {
    bool whole = false;
    return JpegSize(bytes, true, &whole) && whole;
}

namespace {

bool LeavesPixelsWhole(int code) {
    switch (code) {
        case JWRN_EXTRANEOUS_DATA:
        case JWRN_JFIF_MAJOR:
        case JWRN_ADOBE_XFORM:
        case JWRN_BOGUS_ICC:
        case JWRN_NOT_SEQUENTIAL:  // a baseline scan header stating Se = 0
            return true;
        default:
            return false;
    }
}

// After a decode whose data ended without an end marker: a sequential picture that reached its
// last row has every pixel (a cut inside the scan warns of it as well), while a progressive one
// may have stopped after any scan, each of which leaves a complete-looking picture. It is whole
// when every coefficient of every component came to its last bit.
bool AllScansCame(const jpeg_decompress_struct& info) {
    if (!info.progressive_mode) return true;
    for (int component = 0; component < info.num_components; ++component)
        for (int coefficient = 0; coefficient < DCTSIZE2; ++coefficient)
            if (info.coef_bits[component][coefficient] != 0) return false;
    return true;
}

}  // namespace

void JpegDamage::Warned(int code) {
    if (code == JWRN_JPEG_EOF)
        m_dataEnded = true;
    else if (!LeavesPixelsWhole(code))
        m_pixelsLost = true;
}

bool JpegDamage::PixelsWhole(const jpeg_decompress_struct& info) const {
    return !m_pixelsLost && (!m_dataEnded || AllScansCame(info));
}
