#include "library/BitmapFile.h"

#include <fstream>

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBitsPerPixel = 24;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

}  // namespace

std::vector<std::uint8_t> BitmapFileBytes(const QImage& bitmap) {
    const QImage pixels = bitmap.convertToFormat(QImage::Format_RGB32);
    const auto width = static_cast<std::uint32_t>(pixels.width());
    const auto height = static_cast<std::uint32_t>(pixels.height());
    const std::uint32_t rowSize = (kBitsPerPixel * width + 31) / 32 * 4;
    const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize;

    std::vector<std::uint8_t> out;
    out.reserve(pixelOffset + static_cast<std::size_t>(rowSize) * height);
    out.push_back('B');
    out.push_back('M');
    Put32(out, pixelOffset + rowSize * height);
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, pixelOffset);

    Put32(out, kInfoHeaderSize);
    Put32(out, width);
    Put32(out, height);
    Put16(out, 1);  // planes
    Put16(out, kBitsPerPixel);
    for (int field = 0; field < 6; ++field) Put32(out, 0);  // compression .. important colours

    // Rows bottom first, each padded with zeros to a multiple of 4 bytes.
    const std::size_t header = out.size();
    out.resize(header + static_cast<std::size_t>(rowSize) * height, 0);
    std::uint8_t* row = out.data() + header;
    for (int y = pixels.height() - 1; y >= 0; --y, row += rowSize) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        std::uint8_t* at = row;
        for (std::uint32_t x = 0; x < width; ++x) {
            *at++ = static_cast<std::uint8_t>(qBlue(line[x]));
            *at++ = static_cast<std::uint8_t>(qGreen(line[x]));
            *at++ = static_cast<std::uint8_t>(qRed(line[x]));
        }
    }
    return out;
}

bool WriteBitmapFile(const QImage& bitmap, const std::string& path) {
    const std::vector<std::uint8_t> bytes = BitmapFileBytes(bitmap);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}
