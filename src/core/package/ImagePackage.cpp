#include "core/package/ImagePackage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "core/io/FileError.h"
#include "core/io/FileIO.h"

namespace {

constexpr std::size_t kHeaderFixedBytes = 12;  // nameLength, dataLength, reserved

// Package bytes already in memory.
class MemorySource {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    std::uint64_t Remaining() const { return m_bytes.size() - m_pos; }
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

// An open package file: headers come through a large buffer, big data blocks are
// read straight into their entry's buffer, so the file is read once, in large blocks.
class FileSource {
public:
    FileSource(int fd, std::uint64_t size) : m_fd(fd), m_remaining(size) {}
    std::uint64_t Remaining() const { return m_remaining; }
    bool ReadExact(void* destination, std::size_t size) {
        if (size > m_remaining) return false;
        if (size == 0) return true;  // an empty entry has no buffer to copy into
        auto* out = static_cast<std::uint8_t*>(destination);
        std::size_t buffered = std::min(size, m_end - m_begin);
        std::memcpy(out, m_buffer.data() + m_begin, buffered);
        m_begin += buffered;
        out += buffered;
        std::size_t left = size - buffered;
        if (left >= kBufferSize) {
            if (!ReadRaw(out, left, left)) return false;
        } else if (left > 0) {
            m_begin = 0;
            m_end = 0;
            std::size_t want =
                static_cast<std::size_t>(std::min<std::uint64_t>(kBufferSize, m_remaining));
            if (!ReadRaw(m_buffer.data(), want, left)) return false;
            m_end = m_filled;
            std::memcpy(out, m_buffer.data(), left);
            m_begin = left;
        }
        m_remaining -= size;
        return true;
    }

private:
    static constexpr std::size_t kBufferSize = 1 << 20;

    // Reads up to want bytes, at least need of them; m_filled tells how many came.
    bool ReadRaw(std::uint8_t* out, std::size_t want, std::size_t need) {
        m_filled = 0;
        while (m_filled < need) {
            ssize_t got = ::read(m_fd, out + m_filled, want - m_filled);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;
            m_filled += static_cast<std::size_t>(got);
        }
        return true;
    }

    int m_fd;
    std::uint64_t m_remaining;
    std::vector<std::uint8_t> m_buffer = std::vector<std::uint8_t>(kBufferSize);
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    std::size_t m_filled = 0;
};

template <typename Source>
bool ReadInt(Source& source, std::uint32_t& value) {
    std::uint8_t bytes[4];
    if (!source.ReadExact(bytes, 4)) return false;
    value = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return true;
}

void PutInt(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

}  // namespace

ImagePackage::~ImagePackage() { Clear(); }

template <typename Source>
bool ImagePackage::ReadFrom(Source& source) {
    std::uint32_t rawCount = 0;
    if (!ReadInt(source, rawCount)) {
        m_damage = "the file ends before the entry count";
        return false;
    }
    auto count = static_cast<std::int32_t>(rawCount);
    if (count <= 0) return true;
    if (static_cast<std::uint64_t>(count) * kHeaderFixedBytes > source.Remaining()) {
        m_damage = "the entry count " + std::to_string(count) + " is larger than the file holds";
        return false;
    }

    std::vector<PackageEntry> headers;
    std::vector<std::uint32_t> dataLengths;
    for (std::int32_t i = 0; i < count; ++i) {
        std::uint32_t nameLength = 0;
        std::uint32_t dataLength = 0;
        PackageEntry entry;
        if (!ReadInt(source, nameLength)) {
            m_damage = "the file ends inside header " + std::to_string(i);
            return false;
        }
        if (nameLength > kMaxNameLength) {
            m_damage = "header " + std::to_string(i) + " has a name length of " +
                       std::to_string(static_cast<std::int32_t>(nameLength));
            return false;
        }
        entry.name.resize(nameLength);
        if (!source.ReadExact(entry.name.data(), nameLength) || !ReadInt(source, dataLength) ||
            !ReadInt(source, entry.reserved)) {
            m_damage = "the file ends inside header " + std::to_string(i);
            return false;
        }
        headers.push_back(std::move(entry));
        dataLengths.push_back(dataLength);
    }

    for (std::size_t i = 0; i < headers.size(); ++i) {
        std::uint32_t dataLength = dataLengths[i];
        if (dataLength > source.Remaining()) {
            m_damage = "the data of \"" + headers[i].name + "\" is cut short";
            break;
        }
        headers[i].data.resize(dataLength);
        if (!source.ReadExact(headers[i].data.data(), dataLength)) {
            m_damage = "the data of \"" + headers[i].name + "\" could not be read";
            break;
        }
        m_entries.push_back(std::move(headers[i]));
    }
    return m_damage.empty();
}

bool ImagePackage::Load(const std::string& path) {
    Clear();
    m_damage.clear();
    m_damagedPath.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (ok) {
        FileSource source(fd, static_cast<std::uint64_t>(info.st_size));
        ok = ReadFrom(source);
    } else {
        m_damage = "not a regular file";
    }
    ::close(fd);
    if (!m_damage.empty()) m_damagedPath = path;
    return ok;
}

bool ImagePackage::LoadFromBytes(std::span<const std::uint8_t> bytes) {
    Clear();
    m_damage.clear();
    m_damagedPath.clear();
    MemorySource source(bytes);
    return ReadFrom(source);
}

std::vector<std::uint8_t> ImagePackage::ToBytes() const {
    std::size_t total = 4;
    for (const auto& entry : m_entries)
        total += kHeaderFixedBytes + entry.name.size() + entry.data.size();
    std::vector<std::uint8_t> out;
    out.reserve(total);
    PutInt(out, static_cast<std::uint32_t>(m_entries.size()));
    for (const auto& entry : m_entries) {
        PutInt(out, static_cast<std::uint32_t>(entry.NameLength()));
        out.insert(out.end(), entry.name.begin(), entry.name.end());
        PutInt(out, entry.DataLength());
        PutInt(out, entry.reserved);
    }
    for (const auto& entry : m_entries) out.insert(out.end(), entry.data.begin(), entry.data.end());
    return out;
}

bool ImagePackage::Save(const std::string& path) {
    if (m_entries.empty()) return false;
    if (path == m_damagedPath) {
        // What could not be read may still matter to someone: never overwrite it unseen.
        KeepDamagedCopy(path);
        m_damagedPath.clear();
    }
    WriteFileAtomically(path, ToBytes());
    return true;
}

bool ImagePackage::AddFile(const std::string& directory, const std::string& name) {
    std::string path = directory + name;
    if (name.size() > kMaxNameLength) throw FileError(path, "the name is longer than 127 bytes");
    auto bytes = ReadWholeFile(path);
    if (!bytes) throw FileError(path, DescribeErrno(ENOENT));
    AddEntry(name, std::move(*bytes));
    return true;
}

void ImagePackage::AddEntry(std::string name, std::vector<std::uint8_t> data,
                            std::uint32_t reserved) {
    if (name.size() > kMaxNameLength)
        throw std::invalid_argument("package entry name longer than 127 bytes");
    m_entries.push_back(PackageEntry{std::move(name), reserved, std::move(data)});
}

bool ImagePackage::Remove(const std::string& name) {
    auto found = std::find_if(m_entries.begin(), m_entries.end(),
                              [&](const PackageEntry& entry) { return entry.name == name; });
    if (found == m_entries.end()) return false;
    m_entries.erase(found);
    return true;
}

const std::vector<std::uint8_t>* ImagePackage::FindData(const std::string& name) const {
    for (const auto& entry : m_entries) {
        if (entry.name == name) return &entry.data;
    }
    return nullptr;
}

void ImagePackage::GetNames(std::vector<std::string>& names) const {
    names.clear();
    for (const auto& entry : m_entries) names.push_back(entry.name);
}

void ImagePackage::Clear() { m_entries.clear(); }
