#include "core/io/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "core/io/FileError.h"

namespace {

void (*g_writeStepHook)(const char* call) = nullptr;

void Step(const char* call) {
    if (g_writeStepHook != nullptr) g_writeStepHook(call);
}

// Closes a descriptor on every path out of a function.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    int Get() const { return m_fd; }
    int Release() {
        int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

std::string DirectoryOf(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Permissions for the replacement: the old file's, or what a plain create would give.
mode_t ModeFor(const std::string& path) {
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) return old.st_mode & 07777;
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

std::string DescribeErrno(int error) { return std::strerror(error); }

void SetWriteStepHook(void (*hook)(const char* call)) { g_writeStepHook = hook; }

void WriteAll(int fd, std::span<const std::uint8_t> bytes, const std::string& path) {
    const std::uint8_t* data = bytes.data();
    std::size_t size = bytes.size();
    while (size > 0) {
        Step("write");
        ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            throw FileError(path, DescribeErrno(errno));
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

bool ReadAt(int fd, std::uint64_t offset, void* destination, std::size_t size) {
    auto* out = static_cast<std::uint8_t*>(destination);
    while (size > 0) {
        ssize_t got = ::pread(fd, out, size, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        out += got;
        offset += static_cast<std::uint64_t>(got);
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

void CopyRange(int from, std::uint64_t offset, std::uint64_t length, const std::string& fromPath,
               int to, const std::string& toPath) {
    // Through a buffer: on ext4 this costs less than copy_file_range, which splices page by page.
    const std::string cutShort = "the file changed while it was being read";
    constexpr std::uint64_t kChunk = 1 << 20;
    std::vector<std::uint8_t> buffer;
    while (length > 0) {
        const auto chunk = static_cast<std::size_t>(std::min(length, kChunk));
        buffer.resize(chunk);
        if (!ReadAt(from, offset, buffer.data(), chunk)) throw FileError(fromPath, cutShort);
        WriteAll(to, buffer, toPath);
        offset += chunk;
        length -= chunk;
    }
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        if (errno == ENOENT) return std::nullopt;
        throw FileError(path, DescribeErrno(errno));
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) throw FileError(path, DescribeErrno(errno));
    if (!S_ISREG(info.st_mode)) throw FileError(path, "not a regular file");

    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) bytes.resize(bytes.size() + 65536);  // the file grew
        ssize_t got = ::read(fd.Get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw FileError(path, DescribeErrno(errno));
        }
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    WriteFileAtomically(path, [&](int fd) { WriteAll(fd, bytes, path); });
}

void WriteFileAtomically(const std::string& path, const std::function<void(int fd)>& writeContent) {
    std::string temporary = path + ".XXXXXX";
    Step("mkostemp");
    Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.Get() < 0) throw FileError(path, DescribeErrno(errno));
    try {
        Step("fchmod");
        if (::fchmod(fd.Get(), ModeFor(path)) != 0) throw FileError(path, DescribeErrno(errno));
        writeContent(fd.Get());
        Step("fsync");
        if (::fsync(fd.Get()) != 0) throw FileError(path, DescribeErrno(errno));
        Step("close");
        if (::close(fd.Release()) != 0) throw FileError(path, DescribeErrno(errno));
        Step("rename");
        if (::rename(temporary.c_str(), path.c_str()) != 0)
            throw FileError(path, DescribeErrno(errno));
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    // Make the rename itself durable; the new file is complete either way.
    Step("open directory");
    Descriptor directory(::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    Step("fsync directory");
    if (directory.Get() >= 0) ::fsync(directory.Get());
}

void CopyFile(const std::string& path, const std::string& destination) {
    auto bytes = ReadWholeFile(path);
    if (!bytes) throw FileError(path, DescribeErrno(ENOENT));
    WriteFileAtomically(destination, *bytes);
}
