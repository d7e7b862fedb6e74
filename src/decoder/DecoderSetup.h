#pragma once

#include <string>

// Getting the decoders ready in a process that decodes pictures, and sealing it. Needs a
// QCoreApplication, through which Qt finds its image format plugins.

// Sets the limits every decoder keeps to (DecodeLimits), and how memory is handed out so that
// DecodePicture's second decode sees other bytes in new memory. Call before any thread starts.
void PrepareDecoding();

// Decodes a tiny picture of every format once, so that every plugin, codec and table the
// decoders load lazily is loaded: after SealDecoder, loading anything would kill the process.
void WarmUpDecoders();

// Seals the process with the decoder's limits (see Seal.h): about 1 GB of memory beyond what it
// holds now, and 20 s of processor time. Empty when sealed, otherwise what failed.
std::string SealDecoder();
