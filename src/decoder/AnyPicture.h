#pragma once

#include <cstdint>
#include <span>

#include "core/layout/SkinLayout.h"
#include "decoder/PictureDecoder.h"

// DecodePicture (PictureDecoder.h) for every format: TIFF too (libtiff), and HEIC, HEIF and AVIF
// (libheif), where an overlay is refused when it decodes to other pixels a second time, with
// new memory filled otherwise (libheif leaves what its images do not cover unwritten). Call
// PrepareDecoding (DecoderSetup.h) first, and InitialiseHeif (HeifDecoder.h) before a seal.
DecodedPicture DecodeAnyPicture(std::span<const std::uint8_t> bytes, layout::Size size);
