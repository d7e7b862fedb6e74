#include "core/scores/Archive.h"

#include "core/io/ByteOrder.h"
#include "core/io/FileError.h"
#include "core/text/Translation.h"

namespace {

constexpr std::uint8_t kEscape = 0xFF;
constexpr std::uint16_t kWide16 = 0xFFFE;  // announces a text in 16-bit characters
constexpr std::uint16_t kLong16 = 0xFFFF;  // a 4-byte length follows

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

Archive::Archive(std::span<const std::uint8_t> bytes, std::string name)
    : m_storing(false), m_in(bytes), m_name(std::move(name)) {}

Archive::Archive(std::string name) : m_storing(true), m_name(std::move(name)) {}

void Archive::Write(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        m_out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void Archive::Write(const std::string& text) {
    const std::size_t n = text.size();
    if (n < 0xFF) {
        m_out.push_back(static_cast<std::uint8_t>(n));
    } else if (n < 0xFFFE) {
        m_out.push_back(kEscape);
        m_out.push_back(static_cast<std::uint8_t>(n));
        m_out.push_back(static_cast<std::uint8_t>(n >> 8));
    } else {
        m_out.insert(m_out.end(), {kEscape, kEscape, kEscape});
        Write(static_cast<std::uint32_t>(n));
    }
    m_out.insert(m_out.end(), text.begin(), text.end());
}

void Archive::Need(std::size_t bytes) const {
    if (bytes > m_in.size() - m_pos)
        throw FileError(m_name, Tr("the file ends before its records are complete"));
}

std::uint8_t Archive::ReadByte() {
    Need(1);
    return m_in[m_pos++];
}

std::uint16_t Archive::ReadUInt16() {
    Need(2);
    const std::uint16_t value = LoadLittle16(&m_in[m_pos]);
    m_pos += 2;
    return value;
}

std::uint32_t Archive::ReadUInt32() {
    Need(4);
    const std::uint32_t value = LoadLittle32(&m_in[m_pos]);
    m_pos += 4;
    return value;
}

std::string Archive::ReadString() {
    bool wide = false;
    std::uint32_t length = ReadByte();
    if (length == kEscape) {
        length = ReadUInt16();
        if (length == kWide16) {
            // 16-bit text: a second prefix of the same kind gives its length in characters.
            wide = true;
            length = ReadByte();
            if (length == kEscape) {
                length = ReadUInt16();
                if (length == kLong16) length = ReadUInt32();
            }
        } else if (length == kLong16) {
            length = ReadUInt32();
        }
    }
    if (wide) return ReadUtf16(length);
    Need(length);
    std::string text(reinterpret_cast<const char*>(m_in.data() + m_pos), length);
    m_pos += length;
    return text;
}

std::string Archive::ReadUtf16(std::uint32_t chars) {
    Need(static_cast<std::size_t>(chars) * 2);
    std::string text;
    for (std::uint32_t i = 0; i < chars; ++i) {
        std::uint32_t unit = ReadUInt16();
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < chars) {
            std::uint16_t low = static_cast<std::uint16_t>(m_in[m_pos] | m_in[m_pos + 1] << 8);
            if (low >= 0xDC00 && low < 0xE000) {
                m_pos += 2;
                ++i;
                AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                continue;
            }
        }
        AppendUtf8(text, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
    }
    return text;
}
