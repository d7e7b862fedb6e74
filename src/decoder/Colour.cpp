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
    if (from == nullptr || cmsGetColorSpace(from.get()) != cmsSigRgbData || Srgb() == nullptr)
        return;
    const std::unique_ptr<void, TransformDelete> transform(
        cmsCreateTransform(from.get(), TYPE_RGB_8, Srgb(), TYPE_RGB_8, INTENT_PERCEPTUAL, 0));
    if (transform == nullptr) return;
    cmsDoTransform(transform.get(), rgb.data(), rgb.data(),
                   static_cast<cmsUInt32Number>(rgb.size() / 3));
}
