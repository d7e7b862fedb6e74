// corvalin-decode: decodes one picture file, given as its standard input, into the 400 x 300
// pixels the game stores, and answers on its standard output (DecoderAnswer.h). It seals itself
// before it reads the first byte, so that a file made to take over a decoder finds a process
// that can do nothing but compute and answer.
//
// HEIF files go to corvalin-decode-heif, started in this process's place before anything is
// read: libheif and its HEVC decoder take longer to load than a small picture takes to decode,
// so every other import is spared them.
#include <unistd.h>

#include <array>
#include <cstdint>

#include "core/io/ProgramDirectory.h"
#include "decoder/DecoderProgram.h"
#include "decoder/PictureDecoder.h"

namespace {

constexpr char kHeifDecoder[] = "corvalin-decode-heif";

// Whether the input must go to the HEIF decoder: its first bytes, looked at without moving the
// input on, say HEIF; or they cannot be looked at before they are read (a pipe), and only the
// program that decodes every format can take it.
bool ForHeifDecoder() {
    const off_t start = ::lseek(STDIN_FILENO, 0, SEEK_CUR);
    if (start < 0) return true;
    std::array<std::uint8_t, 16> head{};
    const ssize_t count = ::pread(STDIN_FILENO, head.data(), head.size(), start);
    if (count < 0) return true;
    return IsHeifFile(std::span(head.data(), static_cast<std::size_t>(count)));
}

}  // namespace

int main(int argc, char** argv) {
    if (ForHeifDecoder()) {
        // Only ever the one beside this program, never one found from the working directory.
        const std::string directory = GetProgramDirectory();
        if (directory.empty()) FailDecoderProgram("the HEIF decoder cannot be found");
        const std::string heifDecoder = directory + kHeifDecoder;
        ::execv(heifDecoder.c_str(), argv);
        FailDecoderProgram(heifDecoder + " could not be started");
    }
    RunDecoderProgram(argc, argv, nullptr, DecodePicture);
}
