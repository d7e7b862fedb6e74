#include "decoder/Colour.h"

#include <lcms2.h>

#include <algorithm>
#include <memory>

namespace {

struct ProfileClose {
    void operator()(void* profile) const { cmsCloseProfile(profile); }
};
struct TransformDelete {
    void operator()(void* transform) const { cmsDeleteTransform(transform); }
};
using Profile = std::unique_ptr<void, ProfileClose>;

// One grey byte followed by two more that are skipped: a pixel of three bytes.
constexpr cmsUInt32Number kGreyOfThree =
    COLORSPACE_SH(PT_GRAY) | EXTRA_SH(2) | CHANNELS_SH(1) | BYTES_SH(1);

cmsHPROFILE Srgb() {
    static const Profile srgb(cmsCreate_sRGBProfile());
    return srgb.get();
}

}  // namespace

void PrepareColour() { Srgb(); }

void ConvertToSrgb(std::vector<std::uint8_t>& rgb, std::span<const std::uint8_t> profile) {
    if (profile.empty()) return;
    const Profile from(
        cmsOpenProfileFromMem(profile.data(), static_cast<cmsUInt32Number>(profile.size())));
    if (from == nullptr || Srgb() == nullptr) return;
    // A grey picture's pixels hold its grey three times over: the first of each is read.
    const cmsColorSpaceSignature space = cmsGetColorSpace(from.get());
    const cmsUInt32Number format = space == cmsSigRgbData    ? TYPE_RGB_8
                                   : space == cmsSigGrayData ? kGreyOfThree
                                                             : 0;
    if (format == 0) return;
    const std::unique_ptr<void, TransformDelete> transform(
        cmsCreateTransform(from.get(), format, Srgb(), TYPE_RGB_8, INTENT_PERCEPTUAL, 0));
    if (transform == nullptr) return;
    cmsDoTransform(transform.get(), rgb.data(), rgb.data(),
                   static_cast<cmsUInt32Number>(rgb.size() / 3));
}

bool ConvertCmykToRgba(std::uint8_t* pixels, std::size_t count,
                       std::span<const std::uint8_t> profile, bool inverted) {
    if (profile.empty() || Srgb() == nullptr) return false;
    const Profile from(
        cmsOpenProfileFromMem(profile.data(), static_cast<cmsUInt32Number>(profile.size())));
    if (from == nullptr || cmsGetColorSpace(from.get()) != cmsSigCmykData) return false;
    const std::unique_ptr<void, TransformDelete> transform(
        cmsCreateTransform(from.get(), inverted ? TYPE_CMYK_8_REV : TYPE_CMYK_8, Srgb(),
                           TYPE_RGBA_8, INTENT_PERCEPTUAL, 0));
    if (transform == nullptr) return false;
    // A block at a time through a buffer of its own: the output's alpha is left unwritten.
    constexpr std::size_t kBlock = 4096;
    std::vector<std::uint8_t> rgba(kBlock * 4);
    for (std::size_t at = 0; at < count; at += kBlock) {
        const std::size_t n = std::min(kBlock, count - at);
        cmsDoTransform(transform.get(), pixels + at * 4, rgba.data(),
                       static_cast<cmsUInt32Number>(n));
        for (std::size_t i = 0; i < n; ++i) {
            std::copy_n(&rgba[i * 4], 3, pixels + (at + i) * 4);
            pixels[(at + i) * 4 + 3] = 0xFF;
        }
    }
    return true;
}
