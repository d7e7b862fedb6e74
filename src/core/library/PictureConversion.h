#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "core/library/ImportedPicture.h"

// Turning a player's image file into a library picture: the conversion that the picture
// library (PictureLibrary.h) is given, and what the player is told about a refusal. The file is
// decoded by the sealed decoder, corvalin-decode, never in this process.

// A PictureConverter. Changes nothing but a private scratch directory that is gone again when
// it returns. A file the sealed decoder does not turn into 400 x 300 pixels (not a regular
// file, too large, no whole picture, or the decoder crashed, was killed or took too long):
// InvalidFile; a decoder that cannot be run at all, or not be found: NoDecoder. Otherwise the
// pixels are written as a 24-bit bitmap file (BitmapFile.h), that file is decoded again and
// saved as a JPEG of the default settings (JpegFile.h), and the JPEG file is read back whole
// and must state 400 x 300; any failure there: NotConverted, with the file and the cause as
// detail.
ImportedPicture ConvertPicture(const std::string& path);

// ConvertPicture that asks keepGoing every 50 ms while the decoder works; once it answers
// false, the decoder is ended at once and the picture is refused as Cancelled.
PictureConverter CancellableConverter(std::function<bool()> keepGoing);

// How long a decoder that failed on a file may take to refuse an empty input, which a working
// one does at once; past it, the decoder is broken.
inline constexpr std::chrono::milliseconds kDecoderCheckLimit{5000};

// The conversion with the decoder program at decoder instead of the installed one; "" is no
// decoder at all. A decoder that cannot be started, or that fails on every input, empty ones
// included, or takes longer than checkLimit to refuse one: NoDecoder, naming the program that
// failed (the decoder, or the decoder of every format beside it, to which it hands an input
// it cannot look into).
PictureConverter ConverterWith(std::string decoder, std::function<bool()> keepGoing = {},
                               std::chrono::milliseconds checkLimit = kDecoderCheckLimit);

// What the player is told about a refusal, in the system's 8-bit encoding (lines separated by
// '\n'); empty when accepted or cancelled.
std::string RefusalText(const ImportedPicture& picture);
