#pragma once

// An HEVC decoder for libheif that runs libde265 on every processor: wavefront rows and the
// in-loop filters of one picture decode in parallel, where libheif's own HEVC decoder uses one
// worker thread. Its output (planes, chroma, bit depth, colour description) is the same as that
// decoder's; unlike that decoder it fails on any damage libde265 reports, even when concealed.

// Registers the decoder with libheif, above libheif's own HEVC decoder. Call once, after
// heif_init; libheif keeps the registration for the whole run.
void RegisterHevcDecoderPlugin();

// The decoder's id, for heif_decoding_options::decoder_id.
inline constexpr const char* kHevcDecoderPluginId = "corvalin-threaded-hevc";
