#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/layout/SkinLayout.h"
#include "decoder/PictureDecoder.h"

// What both decoder programs do with their one input: end with the caller named on the command
// line, get the decoders ready (loadCodecs, when given, loads what must be loaded before the
// seal), seal the process, read the standard input whole and answer on the standard output
// (DecoderAnswer.h) with decode's picture of it, or why there is none.
using PictureDecoding = DecodedPicture (*)(std::span<const std::uint8_t>, layout::Size);
[[noreturn]] void RunDecoderProgram(int argc, char** argv, void (*loadCodecs)(),
                                    PictureDecoding decode);

// Answers a refusal for why and ends the process as failed: the caller takes no answer of a
// decoder that did not end cleanly, and checks the decoder itself.
[[noreturn]] void FailDecoderProgram(const std::string& why);
