#include "core/package/ImagePackage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "core/io/ByteOrder.h"
#include "core/io/FileError.h"
#include "core/io/FileIO.h"
#include "core/text/Translation.h"

namespace {

constexpr std::size_t kHeaderFixedBytes = 12;  // nameLength, dataLength, reserved
const char* ChangedWhileOpen() {
    return Tr(
        "the file was changed by another program while the game read it; nothing was "
        "written");
}

// Package bytes already in memory.
class MemorySource {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    std::uint64_t Remaining() const { return m_bytes.size() - m_pos; }
    std::uint64_t Position() const { return m_pos; }
    bool ReadExact(void* destination, std::size_t size) {
        if (size > Remaining()) return false;
        if (size > 0) std::memcpy(destination, m_bytes.data() + m_pos, size);
        m_pos += size;
        return true;
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
};

// The headers at the start of an open package file, read through a buffer: a thousand
// headers take one or two reads.
class FileHeaderSource {
public:
    FileHeaderSource(int fd, std::uint64_t size) : m_fd(fd), m_size(size) {}
    std::uint64_t Remaining() const { return m_size - m_pos; }
    std::uint64_t Position() const { return m_pos; }
    bool ReadExact(void* destination, std::size_t size) {
        if (size > Remaining()) return false;
        auto* out = static_cast<std::uint8_t*>(destination);
        while (size > 0) {
            if (m_begin == m_end && !Refill()) return false;
            const std::size_t part = std::min(size, m_end - m_begin);
            std::memcpy(out, m_buffer.data() + m_begin, part);
            m_begin += part;
            m_pos += part;
            out += part;
            size -= part;
        }
        return true;
    }

private:
    static constexpr std::size_t kBufferSize = 64 * 1024;

    bool Refill() {
        const auto want =
            static_cast<std::size_t>(std::min<std::uint64_t>(kBufferSize, Remaining()));
        ssize_t got = 0;
        do {
            got = ::pread(m_fd, m_buffer.data(), want, static_cast<off_t>(m_pos));
        } while (got < 0 && errno == EINTR);
        if (got <= 0) return false;
        m_begin = 0;
        m_end = static_cast<std::size_t>(got);
        return true;
    }

    int m_fd;
    std::uint64_t m_size;
    std::uint64_t m_pos = 0;
    std::vector<std::uint8_t> m_buffer = std::vector<std::uint8_t>(kBufferSize);
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
};

template <typename Source>
bool ReadInt(Source& source, std::uint32_t& value) {
    std::uint8_t bytes[4];
    if (!source.ReadExact(bytes, 4)) return false;
    value = LoadLittle32(bytes);
    return true;
}

void PutInt(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

}  // namespace

ImagePackage::~ImagePackage() { Clear(); }

template <typename Source>
bool ImagePackage::ReadHeaders(Source& source, std::vector<PackageEntry>& headers) {
    std::uint32_t rawCount = 0;
    if (!ReadInt(source, rawCount)) {
        m_damage = Tr("the file ends before the entry count");
        return false;
    }
    auto count = static_cast<std::int32_t>(rawCount);
    if (count <= 0) return true;
    if (static_cast<std::uint64_t>(count) * kHeaderFixedBytes > source.Remaining()) {
        m_damage = Substitute(Tr("the entry count %1 is larger than the file holds"),
                              {std::to_string(count)});
        return false;
    }
    for (std::int32_t i = 0; i < count; ++i) {
        std::uint32_t nameLength = 0;
        PackageEntry entry;
        if (!ReadInt(source, nameLength)) {
            m_damage = Substitute(Tr("the file ends inside header %1"), {std::to_string(i)});
            return false;
        }
        if (nameLength > kMaxNameLength) {
            m_damage = Substitute(
                Tr("header %1 has a name length of %2"),
                {std::to_string(i), std::to_string(static_cast<std::int32_t>(nameLength))});
            return false;
        }
        entry.name.resize(nameLength);
        if (!source.ReadExact(entry.name.data(), nameLength) ||
            !ReadInt(source, entry.dataLength) || !ReadInt(source, entry.reserved)) {
            m_damage = Substitute(Tr("the file ends inside header %1"), {std::to_string(i)});
            return false;
        }
        headers.push_back(std::move(entry));
    }
    return true;
}

void ImagePackage::ReadDataFromMemory(std::span<const std::uint8_t> bytes, std::uint64_t start,
                                      std::vector<PackageEntry>& headers) {
    std::uint64_t position = start;
    for (PackageEntry& entry : headers) {
        if (entry.dataLength > bytes.size() - position) {
            m_damage = Substitute(Tr("the data of \"%1\" is cut short"), {entry.name});
            break;
        }
        const auto* first = bytes.data() + position;
        entry.data.assign(first, first + entry.dataLength);
        entry.loaded = true;
        position += entry.dataLength;
        m_entries.push_back(std::move(entry));
    }
}

void ImagePackage::PlaceDataInFile(std::uint64_t start, std::vector<PackageEntry>& headers) {
    std::uint64_t position = start;
    for (PackageEntry& entry : headers) {
        if (entry.dataLength > m_fileState.size - position) {
            m_damage = Substitute(Tr("the data of \"%1\" is cut short"), {entry.name});
            break;
        }
        entry.offset = position;
        entry.onFile = true;
        position += entry.dataLength;
        m_entries.push_back(std::move(entry));
    }
    if (m_damage.empty()) return;
    // A damaged file is read once, now, as far as it is whole; it is not read again.
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        PackageEntry& entry = m_entries[i];
        entry.data.resize(entry.dataLength);
        if (!ReadAt(m_fd, entry.offset, entry.data.data(), entry.dataLength)) {
            m_damage = Substitute(Tr("the data of \"%1\" could not be read"), {entry.name});
            m_entries.resize(i);
            break;
        }
        entry.loaded = true;
        entry.onFile = false;
    }
    CloseFile();
}

bool ImagePackage::Load(const std::string& path) {
    Clear();
    m_damage.clear();
    m_damagedPath.clear();
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) return false;
    m_filePath = path;
    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        m_damage = Tr("not a regular file");
    } else {
        m_fileState = {static_cast<std::uint64_t>(info.st_size), info.st_mtim.tv_sec,
                       info.st_mtim.tv_nsec};
        FileHeaderSource source(m_fd, m_fileState.size);
        std::vector<PackageEntry> headers;
        if (ReadHeaders(source, headers)) PlaceDataInFile(source.Position(), headers);
    }
    if (!m_damage.empty()) {
        CloseFile();
        m_damagedPath = path;
    }
    return m_damage.empty();
}

bool ImagePackage::LoadFromBytes(std::span<const std::uint8_t> bytes) {
    Clear();
    m_damage.clear();
    m_damagedPath.clear();
    MemorySource source(bytes);
    std::vector<PackageEntry> headers;
    if (ReadHeaders(source, headers)) ReadDataFromMemory(bytes, source.Position(), headers);
    return m_damage.empty();
}

bool ImagePackage::FileUnchanged() const {
    struct stat info {};
    if (::fstat(m_fd, &info) != 0) return false;
    const FileState now{static_cast<std::uint64_t>(info.st_size), info.st_mtim.tv_sec,
                        info.st_mtim.tv_nsec};
    return now == m_fileState;
}

bool ImagePackage::ReadEntry(PackageEntry& entry) const {
    if (entry.loaded) return true;
    if (!entry.onFile || entry.unreadable) return false;
    entry.data.resize(entry.dataLength);
    // Bytes of a file changed in place would be another picture's, or none at all.
    if (!FileUnchanged() || !ReadAt(m_fd, entry.offset, entry.data.data(), entry.dataLength)) {
        entry.data = {};
        entry.unreadable = true;
        m_readFailed = true;
        return false;
    }
    entry.loaded = true;
    return true;
}

void ImagePackage::KeepFewInMemory() const {
    if (m_keepAll) return;
    while (m_recent.size() > kCachedEntries) {
        const std::string name = std::move(m_recent.back());
        m_recent.pop_back();
        auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                  [&](const PackageEntry& entry) { return entry.name == name; });
        if (found == m_entries.end() || !found->onFile) continue;
        found->data = {};
        found->loaded = false;
    }
}

const std::vector<PackageEntry>& ImagePackage::Entries() const {
    m_keepAll = true;
    for (PackageEntry& entry : m_entries) ReadEntry(entry);
    return m_entries;
}

void ImagePackage::PutHeaders(std::vector<std::uint8_t>& out) const {
    PutInt(out, static_cast<std::uint32_t>(m_entries.size()));
    for (const auto& entry : m_entries) {
        PutInt(out, static_cast<std::uint32_t>(entry.NameLength()));
        out.insert(out.end(), entry.name.begin(), entry.name.end());
        PutInt(out, entry.dataLength);
        PutInt(out, entry.reserved);
    }
}

std::vector<std::uint8_t> ImagePackage::ToBytes() const {
    std::size_t total = 4;
    for (const auto& entry : m_entries)
        total += kHeaderFixedBytes + entry.name.size() + entry.dataLength;
    std::vector<std::uint8_t> out;
    out.reserve(total);
    PutHeaders(out);
    for (auto& entry : m_entries) {
        if (entry.loaded) {
            out.insert(out.end(), entry.data.begin(), entry.data.end());
            continue;
        }
        const std::size_t at = out.size();
        out.resize(at + entry.dataLength);
        if (entry.unreadable || !FileUnchanged() ||
            !ReadAt(m_fd, entry.offset, out.data() + at, entry.dataLength)) {
            entry.unreadable = true;
            m_readFailed = true;
            throw FileError(m_filePath, ChangedWhileOpen());
        }
    }
    return out;
}

void ImagePackage::WriteContent(int fd, const std::string& path) const {
    std::vector<std::uint8_t> headers;
    PutHeaders(headers);
    WriteAll(fd, headers, path);
    // Neighbouring entries that lie one after the other in the old file go in one copy.
    std::uint64_t runStart = 0;
    std::uint64_t runLength = 0;
    auto flushRun = [&] {
        if (runLength > 0) CopyRange(m_fd, runStart, runLength, m_filePath, fd, path);
        runLength = 0;
    };
    for (const auto& entry : m_entries) {
        if (entry.loaded) {
            flushRun();
            WriteAll(fd, entry.data, path);
        } else if (runLength > 0 && runStart + runLength == entry.offset) {
            runLength += entry.dataLength;
        } else {
            flushRun();
            runStart = entry.offset;
            runLength = entry.dataLength;
        }
    }
    flushRun();
}

bool ImagePackage::Save(const std::string& path) {
    if (m_entries.empty()) return false;
    const bool streams = std::any_of(m_entries.begin(), m_entries.end(),
                                     [](const PackageEntry& entry) { return !entry.loaded; });
    if (m_readFailed || (streams && !FileUnchanged())) {
        m_readFailed = true;
        throw FileError(m_filePath, ChangedWhileOpen());
    }
    if (path == m_damagedPath) {
        // What could not be read may still matter to someone: never overwrite it unseen.
        KeepDamagedCopy(path);
        m_damagedPath.clear();
    }
    int written = -1;
    try {
        WriteFileAtomically(path, [&](int fd) {
            WriteContent(fd, path);
            // The package goes on reading from what it wrote, not from the replaced file.
            written = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
            if (written < 0) throw FileError(path, DescribeErrno(errno));
        });
    } catch (...) {
        if (written >= 0) ::close(written);
        throw;
    }
    CloseFile();
    m_fd = written;
    m_filePath = path;
    struct stat info {};
    ::fstat(m_fd, &info);
    m_fileState = {static_cast<std::uint64_t>(info.st_size), info.st_mtim.tv_sec,
                   info.st_mtim.tv_nsec};
    std::uint64_t position = 4;
    for (const auto& entry : m_entries) position += kHeaderFixedBytes + entry.name.size();
    for (auto& entry : m_entries) {
        entry.offset = position;
        entry.onFile = true;
        position += entry.dataLength;
        // What was added lives in the file now; only what was on screen lately stays in memory.
        const bool recent =
            std::find(m_recent.begin(), m_recent.end(), entry.name) != m_recent.end();
        if (entry.loaded && !recent && !m_keepAll) {
            entry.data = {};
            entry.loaded = false;
        }
    }
    return true;
}

bool ImagePackage::AddFile(const std::string& directory, const std::string& name) {
    std::string path = directory + name;
    if (name.size() > kMaxNameLength)
        throw FileError(path, Tr("the name is longer than 127 bytes"));
    auto bytes = ReadWholeFile(path);
    if (!bytes) throw FileError(path, DescribeErrno(ENOENT));
    AddEntry(name, std::move(*bytes));
    return true;
}

void ImagePackage::AddEntry(std::string name, std::vector<std::uint8_t> data,
                            std::uint32_t reserved) {
    if (name.size() > kMaxNameLength)
        throw std::invalid_argument("package entry name longer than 127 bytes");
    PackageEntry entry;
    entry.name = std::move(name);
    entry.reserved = reserved;
    entry.dataLength = static_cast<std::uint32_t>(data.size());
    entry.data = std::move(data);
    entry.loaded = true;
    m_entries.push_back(std::move(entry));
}

bool ImagePackage::Remove(const std::string& name) {
    auto found = std::find_if(m_entries.begin(), m_entries.end(),
                              [&](const PackageEntry& entry) { return entry.name == name; });
    if (found == m_entries.end()) return false;
    m_entries.erase(found);
    return true;
}

const std::vector<std::uint8_t>* ImagePackage::FindData(const std::string& name) const {
    auto found = std::find_if(m_entries.begin(), m_entries.end(),
                              [&](const PackageEntry& entry) { return entry.name == name; });
    if (found == m_entries.end() || !ReadEntry(*found)) return nullptr;
    if (found->onFile) {
        std::erase(m_recent, name);
        m_recent.insert(m_recent.begin(), name);
        KeepFewInMemory();
    }
    return &found->data;
}

bool ImagePackage::Contains(const std::string& name) const {
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [&](const PackageEntry& entry) { return entry.name == name; });
}

void ImagePackage::GetNames(std::vector<std::string>& names) const {
    names.clear();
    names.reserve(m_entries.size());
    for (const auto& entry : m_entries) names.push_back(entry.name);
}

void ImagePackage::CloseFile() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_readFailed = false;
}

void ImagePackage::Clear() {
    m_entries.clear();
    m_recent.clear();
    m_keepAll = false;
    CloseFile();
}
