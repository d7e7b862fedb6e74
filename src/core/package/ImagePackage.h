#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// One named, encoded image of a package.
struct PackageEntry {
    std::string name;                // at most kMaxNameLength bytes, no zero byte
    std::uint32_t reserved = 0;      // carried from file to memory and back, never interpreted
    std::vector<std::uint8_t> data;  // the encoded image file, byte for byte, while loaded
    std::uint32_t dataLength = 0;
    std::uint64_t offset = 0;  // where the data lies in the package's file, when onFile
    bool onFile = false;       // the data can be read (again) from the package's file
    bool loaded = false;       // data holds the bytes
    bool unreadable = false;   // reading the data from the file failed

    std::int32_t NameLength() const { return static_cast<std::int32_t>(name.size()); }
    std::uint32_t DataLength() const { return dataLength; }
};

// An ordered list of named images, loaded from and saved to a package file
// (count, then every header, then every data block; integers 32-bit little-endian).
// Lookups take the first entry whose name matches byte for byte.
//
// A package loaded from a file reads only the headers at first and keeps the file open:
// an entry's bytes are read when they are asked for, and the few asked for last stay in
// memory. The file keeps being read through that descriptor, so a file that another writer
// replaced by a rename changes nothing until the next Load. A file cut short or rewritten in
// place makes the entries not yet read unreadable (FindData gives nullptr) and the next Save
// a FileError, before anything is written.
class ImagePackage {
public:
    static constexpr std::size_t kMaxNameLength = 127;
    // Entries read from the file that stay in memory after use: what is on screen at once.
    static constexpr std::size_t kCachedEntries = 3;

    ImagePackage() = default;
    ImagePackage(const ImagePackage&) = delete;
    ImagePackage& operator=(const ImagePackage&) = delete;
    virtual ~ImagePackage();

    // Clears, then reads the file's headers. False when it cannot be opened, or when it is
    // damaged: then the entries read whole are kept, in memory, and Damage() says what was wrong.
    bool Load(const std::string& path);
    // The same from bytes already in memory (no file involved).
    bool LoadFromBytes(std::span<const std::uint8_t> bytes);

    // False, and nothing written, when the package has no entry. Replaces the file
    // atomically, the entries not in memory streamed from the file they were read from;
    // throws FileError on failure, or when an entry could not be read. A file that loaded
    // damaged is first kept beside itself (KeepDamagedCopy), never over an earlier damaged
    // copy. Afterwards the package reads from the file it wrote.
    bool Save(const std::string& path);
    // The bytes Save writes. Throws FileError when an entry cannot be read.
    std::vector<std::uint8_t> ToBytes() const;

    // Appends directory+name's bytes as an entry named name. Throws FileError when the
    // file cannot be read (nothing is added then) or the name is longer than 127 bytes.
    bool AddFile(const std::string& directory, const std::string& name);
    // Appends an entry; throws std::invalid_argument for a name over 127 bytes.
    void AddEntry(std::string name, std::vector<std::uint8_t> data, std::uint32_t reserved = 0);

    // Removes the first entry of that name; false when there is none.
    bool Remove(const std::string& name);
    // The data of the first entry of that name (owned by the package, valid until the next
    // lookup or change), or nullptr when there is none or it cannot be read.
    const std::vector<std::uint8_t>* FindData(const std::string& name) const;
    // True when an entry has that name; reads no entry's bytes.
    bool Contains(const std::string& name) const;
    // Empties names, then appends every entry's name in package order.
    void GetNames(std::vector<std::string>& names) const;
    void Clear();

    std::size_t Count() const { return m_entries.size(); }
    // Every entry with its data: reads all of them into memory, where they then stay.
    const std::vector<PackageEntry>& Entries() const;
    // Empty unless the last load found the file damaged.
    const std::string& Damage() const { return m_damage; }

private:
    // What identifies the file's content as it was when its headers were read.
    struct FileState {
        std::uint64_t size = 0;
        std::int64_t modifiedSeconds = 0;
        std::int64_t modifiedNanoseconds = 0;
        bool operator==(const FileState&) const = default;
    };

    template <typename Source>
    bool ReadHeaders(Source& source, std::vector<PackageEntry>& headers);
    void ReadDataFromMemory(std::span<const std::uint8_t> bytes, std::uint64_t start,
                            std::vector<PackageEntry>& headers);
    void PlaceDataInFile(std::uint64_t start, std::vector<PackageEntry>& headers);
    bool ReadEntry(PackageEntry& entry) const;
    bool FileUnchanged() const;
    void KeepFewInMemory() const;
    // The entry count and every header, in file order, appended to out.
    void PutHeaders(std::vector<std::uint8_t>& out) const;
    void WriteContent(int fd, const std::string& path) const;
    void CloseFile();

    mutable std::vector<PackageEntry> m_entries;
    std::string m_damage;
    std::string m_damagedPath;  // a damaged original not yet kept aside
    int m_fd = -1;              // the file the entries not in memory are read from
    std::string m_filePath;
    FileState m_fileState;
    mutable bool m_readFailed = false;
    mutable bool m_keepAll = false;             // Entries() handed out every entry's data
    mutable std::vector<std::string> m_recent;  // names of entries read from the file, last first
};
