#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// One named, encoded image of a package.
struct PackageEntry {
    std::string name;                // at most kMaxNameLength bytes, no zero byte
    std::uint32_t reserved = 0;      // carried from file to memory and back, never interpreted
    std::vector<std::uint8_t> data;  // the encoded image file, byte for byte

    std::int32_t NameLength() const { return static_cast<std::int32_t>(name.size()); }
    std::uint32_t DataLength() const { return static_cast<std::uint32_t>(data.size()); }
};

// An ordered list of named images, loaded from and saved to a package file
// (count, then every header, then every data block; integers 32-bit little-endian).
// Lookups take the first entry whose name matches byte for byte.
class ImagePackage {
public:
    static constexpr std::size_t kMaxNameLength = 127;

    ImagePackage() = default;
    ImagePackage(const ImagePackage&) = delete;
    ImagePackage& operator=(const ImagePackage&) = delete;
    virtual ~ImagePackage();

    // Clears, then reads the file. False when it cannot be opened, or when it is damaged:
    // then the entries read whole are kept and Damage() says what was wrong.
    bool Load(const std::string& path);
    // The same from bytes already in memory (no file involved).
    bool LoadFromBytes(std::span<const std::uint8_t> bytes);

    // False, and nothing written, when the package has no entry. Replaces the file
    // atomically; throws FileError on failure. A file that loaded damaged is first
    // kept beside itself (KeepDamagedCopy), never over an earlier damaged copy.
    bool Save(const std::string& path);
    // The bytes Save writes.
    std::vector<std::uint8_t> ToBytes() const;

    // Appends directory+name's bytes as an entry named name. Throws FileError when the
    // file cannot be read (nothing is added then) or the name is longer than 127 bytes.
    bool AddFile(const std::string& directory, const std::string& name);
    // Appends an entry; throws std::invalid_argument for a name over 127 bytes.
    void AddEntry(std::string name, std::vector<std::uint8_t> data, std::uint32_t reserved = 0);

    // Removes the first entry of that name; false when there is none.
    bool Remove(const std::string& name);
    // The data of the first entry of that name (owned by the package), or nullptr.
    const std::vector<std::uint8_t>* FindData(const std::string& name) const;
    // Empties names, then appends every entry's name in package order.
    void GetNames(std::vector<std::string>& names) const;
    void Clear();

    const std::vector<PackageEntry>& Entries() const { return m_entries; }
    // Empty unless the last load found the file damaged.
    const std::string& Damage() const { return m_damage; }

private:
    template <typename Source>
    bool ReadFrom(Source& source);

    std::vector<PackageEntry> m_entries;
    std::string m_damage;
    std::string m_damagedPath;  // a damaged original not yet kept aside
};
