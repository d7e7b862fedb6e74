#include "decoder/Colour.h"

#include <lcms2.h>

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
