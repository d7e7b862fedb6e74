#pragma once

#include <string>

// Getting the decoders ready in a process that decodes pictures, and sealing it.

// Sets how memory is handed out, so that a picture decoded twice (AnyPicture.h) sees other
// bytes in new memory the second time; makes what the decoders would make lazily with calls
// the seal forbids (the sRGB profile, the C library's settled state, see CLibrary.h). Call
// before any thread starts.
void PrepareDecoding();

// Seals the process with the decoder's limits (see Seal.h): about 1 GB of memory beyond what it
// holds now, 20 s of processor time, and the threads its decoders start at most. Empty when sealed, otherwise what failed.
std::string SealDecoder();
