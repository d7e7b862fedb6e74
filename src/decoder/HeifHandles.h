#pragma once

#include <libheif/heif.h>

#include <cstdint>
#include <vector>

#include "decoder/CodedColour.h"

// libheif's objects owned by unique pointers, and what both ways of decoding a HEIF file (whole,
// HeifDecoder.h, or a grid tile by tile, HeifTiles.h) read from an image's handle.

struct ContextFree {
    void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HandleRelease {
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct ImageRelease {
    void operator()(heif_image* image) const { heif_image_release(image); }
    static void Untyped(void* image) { heif_image_release(static_cast<heif_image*>(image)); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};

// What a decode of the image holds per pixel, with libheif 1.15 and our HEVC decoder; grid:
// the image is a grid, whose codec holds one tile at a time.
std::uint64_t HeldBytesPerPixel(const heif_image_handle* handle, bool grid);

// The profile a 'colr' box of type 'prof' or 'rICC' carries; empty for none or for colour
// stated as code points (nclx), whose matrix libheif's conversion to RGB has applied.
std::vector<std::uint8_t> IccProfile(const heif_image_handle* handle);

// The colour an nclx box states; sRGB's where none is stated.
CodedColour CodedColourOf(const heif_image_handle* handle);

// Decoding options as every decode here takes them: 8 bits a sample out, damage an error.
struct heif_decoding_options* StrictEightBitOptions();
