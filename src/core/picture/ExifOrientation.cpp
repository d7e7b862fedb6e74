#include "core/picture/ExifOrientation.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "core/io/ByteOrder.h"

namespace {

constexpr std::array<std::uint8_t, 6> kExifHeader{'E', 'x', 'i', 'f', 0, 0};
constexpr std::uint16_t kOrientationTag = 0x0112;
// The integer types a writer may store it as: byte, short, long, and their signed forms. A
// short is the standard's; some cameras write a long.
constexpr std::uint16_t kByteType = 1;
constexpr std::uint16_t kShortType = 3;
constexpr std::uint16_t kLongType = 4;
constexpr std::uint16_t kSignedByteType = 6;
constexpr std::uint16_t kSignedShortType = 8;
constexpr std::uint16_t kSignedLongType = 9;
constexpr std::size_t kEntryBytes = 12;

// Reads the TIFF structure after the EXIF header, in the byte order its first two bytes name.
class TiffReader {
public:
    explicit TiffReader(std::span<const std::uint8_t> tiff) : m_tiff(tiff) {}

    bool Open() {
        if (m_tiff.size() < 8) return false;
        if (m_tiff[0] == 'I' && m_tiff[1] == 'I')
            m_bigEndian = false;
        else if (m_tiff[0] == 'M' && m_tiff[1] == 'M')
            m_bigEndian = true;
        else
            return false;
        return Read16(2) == 42;
    }

    bool Fits(std::size_t at, std::size_t bytes) const {
        return at <= m_tiff.size() && bytes <= m_tiff.size() - at;
    }

    std::uint16_t Read16(std::size_t at) const {
        return m_bigEndian ? LoadBig16(&m_tiff[at]) : LoadLittle16(&m_tiff[at]);
    }

    std::uint32_t Read32(std::size_t at) const {
        return m_bigEndian ? LoadBig32(&m_tiff[at]) : LoadLittle32(&m_tiff[at]);
    }

    // The one integer an entry holds in its value field, whatever its integer type; 0 (no
    // orientation) for any other type or count.
    std::int64_t ReadInteger(std::size_t entry) const {
        if (Read32(entry + 4) != 1) return 0;
        const std::size_t value = entry + 8;
        switch (Read16(entry + 2)) {
            case kByteType:
                return m_tiff[value];
            case kSignedByteType:
                return static_cast<std::int8_t>(m_tiff[value]);
            case kShortType:
                return Read16(value);
            case kSignedShortType:
                return static_cast<std::int16_t>(Read16(value));
            case kLongType:
                return Read32(value);
            case kSignedLongType:
                return static_cast<std::int32_t>(Read32(value));
            default:
                return 0;
        }
    }

private:
    std::span<const std::uint8_t> m_tiff;
    bool m_bigEndian = false;
};

}  // namespace

bool StartsWithExifHeader(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= kExifHeader.size() &&
           std::equal(kExifHeader.begin(), kExifHeader.end(), bytes.begin());
}

int ExifOrientation(std::span<const std::uint8_t> app1) {
    if (!StartsWithExifHeader(app1)) return 1;
    return TiffOrientation(app1.subspan(kExifHeader.size()));
}

int TiffOrientation(std::span<const std::uint8_t> bytes) {
    TiffReader tiff(bytes);
    if (!tiff.Open()) return 1;
    const std::size_t directory = tiff.Read32(4);
    if (!tiff.Fits(directory, 2)) return 1;
    const std::size_t count = tiff.Read16(directory);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = directory + 2 + i * kEntryBytes;
        if (!tiff.Fits(entry, kEntryBytes)) return 1;
        if (tiff.Read16(entry) != kOrientationTag) continue;
        const std::int64_t value = tiff.ReadInteger(entry);
        return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    }
    return 1;
}
