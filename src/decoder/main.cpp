// corvalin-decode: decodes one picture file, given as its standard input, into the 400 x 300
// pixels the game stores, and answers on its standard output (DecoderAnswer.h). It seals itself
// before it reads the first byte, so that a file made to take over a decoder finds a process
// that can do nothing but compute and answer.
//
// It decodes the formats people import most (JPEG, PNG, GIF, WebP, bitmaps). Any other file
// goes to corvalin-decode-all, started in this process's place before anything is read: the
// libraries of the other formats take longer to load than a small picture takes to decode, so
// most imports are spared them.
#include <unistd.h>

#include <array>
#include <cstdint>

#include "core/io/ProgramDirectory.h"
#include "decoder/DecoderProgram.h"
#include "decoder/PictureDecoder.h"

namespace {

constexpr char kAllFormatsDecoder[] = "corvalin-decode-all";

// Whether the input must go to the decoder of every format: its first bytes, looked at without
// moving the input on, are of no format decoded here; or they cannot be looked at before they
// are read (a pipe). An empty input is refused here as it would be there.
bool ForAllFormatsDecoder() {
    const off_t start = ::lseek(STDIN_FILENO, 0, SEEK_CUR);
    if (start < 0) return true;
    std::array<std::uint8_t, 16> head{};
    const ssize_t count = ::pread(STDIN_FILENO, head.data(), head.size(), start);
    if (count < 0) return true;
    return count > 0 && !IsCommonFormat(std::span(head.data(), static_cast<std::size_t>(count)));
}

}  // namespace

int main(int argc, char** argv) {
    if (ForAllFormatsDecoder()) {
        // Only ever the one beside this program, never one found from the working directory.
        const std::string directory = GetProgramDirectory();
        if (directory.empty()) FailDecoderProgram("the decoder of every format cannot be found");
        const std::string allFormats = directory + kAllFormatsDecoder;
        ::execv(allFormats.c_str(), argv);
        FailDecoderProgram(allFormats + " could not be started");
    }
    RunDecoderProgram(argc, argv, nullptr, DecodePicture);
}
