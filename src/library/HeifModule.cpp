#include "library/HeifModule.h"

#include <dlfcn.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "core/io/ByteOrder.h"
#include "core/io/ProgramDirectory.h"
#include "library/HeifDecoder.h"

#ifndef CORVALIN_MODULES_FROM_PROGRAM
#define CORVALIN_MODULES_FROM_PROGRAM ""
#endif

namespace {

constexpr std::size_t kFileTypeBytes = 12;
// The brands of a file type box that libheif takes for HEIF, whether it decodes them or not.
// The generic "mif1" alone says nothing of the coding: its compatible brands tell.
constexpr std::array<const char*, 12> kHeifBrands{"heic", "heix", "hevc", "hevx", "heim", "heis",
                                                  "hevm", "hevs", "msf1", "avif", "avis", "vvic"};

#ifndef CORVALIN_HEIF_BUILT_IN
// The module's entry point, or null when it cannot be loaded. Loaded once and kept for the
// whole run: its codecs may keep threads and state of their own.
HeifEntryPoint LoadEntryPoint() {
    const std::string path =
        GetProgramDirectory() + CORVALIN_MODULES_FROM_PROGRAM + CORVALIN_HEIF_MODULE;
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) return nullptr;
    return reinterpret_cast<HeifEntryPoint>(::dlsym(module, "CorvalinDecodeHeif"));
}
#endif

bool IsHeifBrand(const std::uint8_t* brand) {
    return std::any_of(kHeifBrands.begin(), kHeifBrands.end(),
                       [&](const char* known) { return std::memcmp(brand, known, 4) == 0; });
}

}  // namespace

bool LooksLikeHeif(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kFileTypeBytes || std::memcmp(bytes.data() + 4, "ftyp", 4) != 0)
        return false;
    if (IsHeifBrand(bytes.data() + 8)) return true;
    if (std::memcmp(bytes.data() + 8, "mif1", 4) != 0) return false;
    // Some cameras name the generic brand first and the coding among the compatible brands,
    // which follow the major brand and its version, up to the end of the box.
    const std::size_t boxEnd = std::min<std::size_t>(bytes.size(), LoadBig32(bytes.data()));
    for (std::size_t at = kFileTypeBytes + 4; at + 4 <= boxEnd; at += 4)
        if (IsHeifBrand(bytes.data() + at)) return true;
    return false;
}

QImage DecodeHeifFromModule(std::span<const std::uint8_t> bytes, const QSize& size) {
#ifdef CORVALIN_HEIF_BUILT_IN
    const HeifEntryPoint decode = &CorvalinDecodeHeif;
#else
    static const HeifEntryPoint decode = LoadEntryPoint();
    if (decode == nullptr) return {};
#endif
    QImage image;
    decode(bytes.data(), bytes.size(), &size, &image);
    return image;
}
