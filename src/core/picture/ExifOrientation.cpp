#include "core/picture/ExifOrientation.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "core/io/ByteOrder.h"

namespace {

constexpr std::array<std::uint8_t, 6> kExifHeader{'E', 'x', 'i', 'f', 0, 0};
constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kShortType = 3;
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
        if (tiff.Read16(entry + 2) != kShortType || tiff.Read32(entry + 4) != 1) return 1;
        const int value = tiff.Read16(entry + 8);
        return value >= 1 && value <= 8 ? value : 1;
    }
    return 1;
}
