#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// What the sealed decoder sends back on its standard output, and how the game reads it. The
// decoder is a process that may have been taken over by the file it decodes, so every byte of
// its answer is checked; anything but one of the two whole forms below is Broken.
//
//   pixels:  "CVP1", width (16 bits, little-endian), height (16 bits), then width x height
//            pixels as red, green, blue bytes, rows top first, and nothing after them
//   refusal: "CVR1", then a reason of at most kMaxReasonBytes bytes of printable ASCII

inline constexpr std::size_t kMaxReasonBytes = 200;

struct DecoderAnswer {
    enum class Kind { Pixels, Refused, Broken };

    Kind kind = Kind::Broken;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // width x height x 3 bytes for Pixels, else empty
    std::string reason;             // for Refused: the decoder's reason; for Broken: what is wrong
};

// The most bytes a whole answer of width x height pixels may take; a reader stops past it.
std::size_t MaxAnswerBytes(int width, int height);

std::vector<std::uint8_t> PixelsAnswer(int width, int height, std::span<const std::uint8_t> rgb);
// Reasons longer than kMaxReasonBytes are cut; bytes outside printable ASCII become '?'.
std::vector<std::uint8_t> RefusalAnswer(const std::string& reason);

// Reads an answer that must carry exactly width x height pixels when it carries any.
DecoderAnswer ParseDecoderAnswer(std::span<const std::uint8_t> bytes, int width, int height);
