#include "core/io/FileIO.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include "core/io/Descriptor.h"
#include "core/io/FileError.h"
#include "core/text/Translation.h"

namespace {

int (*g_writeStepHook)(const char* call) = nullptr;

// True, with errno set, when the hook makes this call fail.
bool Injected(const char* call) {
    const int error = WriteStep(call);
    if (error == 0) return false;
    errno = error;
    return true;
}

// Permissions for the replacement: the old file's, or what a plain create would give.
mode_t ModeFor(const std::string& path) {
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) return old.st_mode & 07777;
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string DirectoryOf(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsTemporaryOf(const std::string& name, const std::string& base) {
    const std::string prefix = base + kTemporaryInfix;
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (!(std::isalnum(c) != 0 && c < 0x80)) return false;
    }
    return true;
}

// A new temporary file beside target with what writeContent writes, flushed and closed;
// returns its path.
std::string WriteTemporary(const std::string& target,
                           const std::function<void(int fd)>& writeContent) {
    std::string temporary = target + kTemporaryInfix + "XXXXXX";
    Descriptor fd(Injected("mkostemp") ? -1 : ::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.Get() < 0) throw FileError(target, DescribeErrno(errno));
    try {
        if (Injected("fchmod") || ::fchmod(fd.Get(), ModeFor(target)) != 0)
            throw FileError(target, DescribeErrno(errno));
        writeContent(fd.Get());
        if (Injected("fsync") || ::fsync(fd.Get()) != 0)
            throw FileError(target, DescribeErrno(errno));
        if (Injected("close") || ::close(fd.Release()) != 0)
            throw FileError(target, DescribeErrno(errno));
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    return temporary;
}

// Makes a finished rename durable; the file is complete either way.
void SyncDirectoryOf(const std::string& path) {
    if (Injected("open directory")) return;
    Descriptor directory(::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!Injected("fsync directory") && directory.Get() >= 0) ::fsync(directory.Get());
}

}  // namespace

std::string DescribeErrno(int error) { return std::strerror(error); }

void SetWriteStepHook(int (*hook)(const char* call)) { g_writeStepHook = hook; }

int WriteStep(const char* call) { return g_writeStepHook == nullptr ? 0 : g_writeStepHook(call); }

void WriteAll(int fd, std::span<const std::uint8_t> bytes, const std::string& path) {
    const std::uint8_t* data = bytes.data();
    std::size_t size = bytes.size();
    while (size > 0) {
        ssize_t written = Injected("write") ? -1 : ::write(fd, data, size);
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
    const std::string cutShort = Tr("the file changed while it was being read");
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

bool FileIsReadable(const std::string& path) {
    Descriptor fd(Injected("open to read") ? -1 : ::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        if (errno == ENOENT) return false;
        throw FileError(path, DescribeErrno(errno));
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) throw FileError(path, DescribeErrno(errno));
    if (!S_ISREG(info.st_mode)) throw FileError(path, Tr("not a regular file"));
    return true;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
    Descriptor fd(Injected("open to read") ? -1 : ::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        if (errno == ENOENT) return std::nullopt;
        throw FileError(path, DescribeErrno(errno));
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) throw FileError(path, DescribeErrno(errno));
    if (!S_ISREG(info.st_mode)) throw FileError(path, Tr("not a regular file"));

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
    const std::string target = ResolveLinks(path);
    const std::string temporary = WriteTemporary(target, writeContent);
    if (Injected("rename") || ::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throw FileError(path, DescribeErrno(error));
    }
    SyncDirectoryOf(target);
}

std::string KeepDamagedCopy(const std::string& path) {
    const std::string target = ResolveLinks(path);
    const auto original = ReadWholeFile(target);
    if (!original) throw FileError(path, DescribeErrno(ENOENT));
    const std::string temporary =
        WriteTemporary(target, [&](int fd) { WriteAll(fd, *original, target); });
    for (int number = 0; number < kDamagedCopies; ++number) {
        std::string copy = target + ".damaged";
        if (number > 0) copy.append(".").append(std::to_string(number));
        // Taking a name that is free, in one step, is what keeps older copies safe.
        if (Injected("rename")) break;
        if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, copy.c_str(), RENAME_NOREPLACE) ==
            0) {
            SyncDirectoryOf(copy);
            return copy;
        }
        if (errno != EEXIST) break;
    }
    const int error = errno;
    ::unlink(temporary.c_str());
    throw FileError(path, error == EEXIST
                              ? Substitute(Tr("all %1 damaged copies are kept already; move "
                                              "them away to go on"),
                                           {std::to_string(kDamagedCopies)})
                              : DescribeErrno(error));
}

std::string ResolveLinks(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        char buffer[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), buffer, sizeof buffer);
        if (length < 0) return current;
        const std::string link(buffer, static_cast<std::size_t>(length));
        current = link.front() == '/' ? link : DirectoryOf(current) + "/" + link;
    }
    throw FileError(path, DescribeErrno(ELOOP));
}

void RemoveStaleTemporaries(const std::string& target) {
    const std::string base = BaseNameOf(target);
    const std::string directory = DirectoryOf(target);
    DIR* listing = ::opendir(directory.c_str());
    if (listing == nullptr) return;
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(listing)) {
        if (IsTemporaryOf(entry->d_name, base)) stale.emplace_back(entry->d_name);
    }
    ::closedir(listing);
    for (const std::string& name : stale) ::unlink((directory + "/" + name).c_str());
}
