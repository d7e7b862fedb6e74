// corvalin-decode-all: corvalin-decode (main.cpp) for every format, TIFF, HEIC, HEIF and AVIF
// included; started by it in its place for those files. Sealed the same way, once libheif's
// codecs are loaded.
#include "decoder/AnyPicture.h"
#include "decoder/DecoderProgram.h"
#include "decoder/HeifDecoder.h"

int main(int argc, char** argv) { RunDecoderProgram(argc, argv, InitialiseHeif, DecodeAnyPicture); }
