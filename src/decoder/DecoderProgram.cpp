#include "decoder/DecoderProgram.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <vector>

#include "core/picture/DecodeLimits.h"
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

// The input's bytes, in memory that nothing writes before the input does: zeroing it first
// would cost a picture's size in page faults twice over, and an empty input a whole chunk.
class InputBytes {
public:
    std::span<const std::uint8_t> Bytes() const { return {m_data.get(), m_size}; }

    // Reads the whole input; false when it fails, or runs past any picture file's size.
    bool Read(std::size_t expected) {
        // One more than expected, to read the end without growing.
        std::size_t capacity = expected > 0 ? expected + 1 : kReadChunk;
        if (!Grow(capacity)) return false;
        for (;;) {
            if (m_size > kMaxPictureFileBytes) return false;
            if (m_size == capacity && !Grow(capacity += kReadChunk)) return false;
            const ssize_t count = ::read(STDIN_FILENO, m_data.get() + m_size, capacity - m_size);
            if (count < 0 && errno == EINTR) continue;
            if (count < 0) return false;
            if (count == 0) return true;
            m_size += static_cast<std::size_t>(count);
        }
    }

private:
    bool Grow(std::size_t capacity) {
        void* grown = std::realloc(m_data.get(), capacity);
        if (grown == nullptr) return false;
        m_data.release();
        m_data.reset(static_cast<std::uint8_t*>(grown));
        return true;
    }

    std::unique_ptr<std::uint8_t, void (*)(void*)> m_data{nullptr, std::free};
    std::size_t m_size = 0;
};

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
    // Single-threaded still, and before the tie to the caller, which a change of user undoes.
    const std::string privileged = DropPrivileges();
    if (!privileged.empty()) FailDecoderProgram("the decoder could not be sealed: " + privileged);
    if (!EndWithCaller(CallerOf(argc, argv))) ::_exit(1);
    PrepareDecoding();
    if (loadCodecs != nullptr) loadCodecs();
    const std::size_t expected = InputSize();
    const std::string notSealed = SealDecoder();
    if (!notSealed.empty()) FailDecoderProgram("the decoder could not be sealed: " + notSealed);
    InputBytes input;
    WriteAll(input.Read(expected) ? Answer(decode(input.Bytes(), layout::kPictureSize))
                                  : RefusalAnswer("larger than any picture file"));
    // Straight out: the teardown of the codecs would make calls the seal forbids.
    ::_exit(0);
}

void FailDecoderProgram(const std::string& why) {
    WriteAll(RefusalAnswer(why));
    ::_exit(1);
}
