#include "core/picture/BitmapFile.h"

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

std::vector<std::uint8_t> BitmapFileBytes(std::span<const std::uint8_t> rgb, int width,
                                          int height) {
    const std::uint32_t rowSize = (kBitsPerPixel * static_cast<std::uint32_t>(width) + 31) / 32 * 4;
    const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize;
    const auto rows = static_cast<std::uint32_t>(height);

    std::vector<std::uint8_t> out;
    out.reserve(pixelOffset + static_cast<std::size_t>(rowSize) * rows);
    out.push_back('B');
    out.push_back('M');
    Put32(out, pixelOffset + rowSize * rows);
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, pixelOffset);

    Put32(out, kInfoHeaderSize);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, rows);
    Put16(out, 1);  // planes
    Put16(out, kBitsPerPixel);
    for (int field = 0; field < 6; ++field) Put32(out, 0);  // compression .. important colours

    // Rows bottom first, each padded with zeros to a multiple of 4 bytes.
    const std::size_t header = out.size();
    out.resize(header + static_cast<std::size_t>(rowSize) * rows, 0);
    std::uint8_t* row = out.data() + header;
    const std::size_t lineBytes = static_cast<std::size_t>(width) * 3;
    for (std::size_t y = rows; y-- > 0; row += rowSize) {
        const std::uint8_t* from = rgb.data() + y * lineBytes;
        for (std::uint8_t* to = row; to != row + lineBytes; to += 3, from += 3) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
    return out;
}

bool WriteBitmapFile(std::span<const std::uint8_t> rgb, int width, int height,
                     const std::string& path) {
    const std::vector<std::uint8_t> bytes = BitmapFileBytes(rgb, width, height);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}
