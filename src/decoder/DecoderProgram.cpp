#include "decoder/DecoderProgram.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

#include "core/library/DecodeLimits.h"
#include "core/sandbox/DecoderAnswer.h"
#include "core/sandbox/DecoderProcess.h"
#include "core/sandbox/Seal.h"
#include "decoder/DecoderSetup.h"

namespace {

constexpr std::size_t kReadChunk = 1 << 20;

// The size of the input when it is a file, as the game gives it, 0 when not known: asked
// before the seal, which forbids asking, so that the input is read into memory of its size
// rather than grown to it, which would hold it twice over.
std::size_t InputSize() {
    struct stat status {};
    if (::fstat(STDIN_FILENO, &status) != 0 || !S_ISREG(status.st_mode)) return 0;
    return static_cast<std::size_t>(
        std::min<std::uint64_t>(static_cast<std::uint64_t>(status.st_size), kMaxPictureFileBytes));
}

// The whole input, or nothing when it is larger than any picture file may be.
std::optional<std::vector<std::uint8_t>> ReadInput(std::size_t expected) {
    std::vector<std::uint8_t> bytes;
    if (expected > 0) bytes.reserve(expected + 1);  // one more, to read the end without growing
    for (;;) {
        const std::size_t had = bytes.size();
        if (had > kMaxPictureFileBytes) return std::nullopt;
        const std::size_t room = bytes.capacity() > had ? bytes.capacity() - had : kReadChunk;
        bytes.resize(had + room);
        const ssize_t count = ::read(STDIN_FILENO, bytes.data() + had, room);
        if (count < 0 && errno == EINTR) {
            bytes.resize(had);
            continue;
        }
        bytes.resize(had + static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
        if (count < 0) return std::nullopt;
        if (count == 0) return bytes;
    }
}

void WriteAll(const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return;
        done += static_cast<std::size_t>(count);
    }
}

std::vector<std::uint8_t> Answer(const DecodedPicture& picture) {
    if (picture.Refused()) return RefusalAnswer(picture.refusal);
    return PixelsAnswer(layout::kPictureSize.width, layout::kPictureSize.height, picture.rgb);
}

}  // namespace

void RunDecoderProgram(int argc, char** argv, void (*loadCodecs)(), PictureDecoding decode) {
    if (!EndWithCaller(CallerOf(argc, argv))) ::_exit(1);
    PrepareDecoding();
    if (loadCodecs != nullptr) loadCodecs();
    const std::size_t expected = InputSize();
    const std::string notSealed = SealDecoder();
    if (!notSealed.empty()) FailDecoderProgram("the decoder could not be sealed: " + notSealed);
    const std::optional<std::vector<std::uint8_t>> bytes = ReadInput(expected);
    WriteAll(bytes ? Answer(decode(*bytes, layout::kPictureSize))
                   : RefusalAnswer("larger than any picture file"));
    // Straight out: the teardown of the codecs would make calls the seal forbids.
    ::_exit(0);
}

void FailDecoderProgram(const std::string& why) {
    WriteAll(RefusalAnswer(why));
    ::_exit(1);
}
