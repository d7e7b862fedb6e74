#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The framework archive encoding that Score.dat uses: little-endian 32-bit numbers
// and length-prefixed strings (1 byte; FF + 2 bytes; FF FF FF + 4 bytes; FF FE FF for UTF-16).
class Archive {
public:
    // A loading archive over bytes that must outlive it; name is the file for errors.
    Archive(std::span<const std::uint8_t> bytes, std::string name);
    // A storing archive that collects bytes.
    explicit Archive(std::string name);

    bool IsStoring() const { return m_storing; }
    const std::vector<std::uint8_t>& Stored() const { return m_out; }

    // Loading throws FileError at the first field that the bytes do not complete.
    void Write(std::uint32_t value);
    void Write(const std::string& text);
    std::uint32_t ReadUInt32();
    std::string ReadString();

private:
    void Need(std::size_t bytes) const;
    std::uint16_t ReadUInt16();
    std::uint8_t ReadByte();
    std::string ReadUtf16(std::uint32_t chars);

    bool m_storing;
    std::span<const std::uint8_t> m_in;
    std::size_t m_pos = 0;
    std::vector<std::uint8_t> m_out;
    std::string m_name;
};
