#pragma once

// Scratch files for the benchmarks: made once per run, removed when the run ends.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace bench {

// A file name in the temporary directory that is removed again with this object.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& prefix) {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern =
            std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/" + prefix + "XXXXXX";
        const int fd = ::mkstemp(pattern.data());
        if (fd >= 0) ::close(fd);
        m_path = pattern;
    }
    TemporaryFile(TemporaryFile&& other) noexcept : m_path(std::exchange(other.m_path, {})) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    TemporaryFile& operator=(TemporaryFile&&) = delete;
    ~TemporaryFile() {
        if (!m_path.empty()) ::unlink(m_path.c_str());
    }

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

inline std::int64_t FileSize(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<std::int64_t>(info.st_size) : 0;
}

// Bytes standing in for encoded image data; the same seed gives the same bytes.
inline std::vector<std::uint8_t> PseudoRandomBytes(std::size_t size, std::uint32_t seed) {
    std::vector<std::uint8_t> bytes(size);
    std::uint32_t state = seed * 2654435761u + 1;
    for (auto& byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<std::uint8_t>(state);
    }
    return bytes;
}

}  // namespace bench
