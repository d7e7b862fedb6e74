#include "core/picture/BmpPalette.h"

BmpPalette ReadBmpPalette(std::span<const std::uint8_t> table, std::size_t entryBytes,
                          std::size_t entries) {
    BmpPalette palette;
    palette.fill({0, 0, 0, 255});
    for (std::size_t i = 0; i < entries && i < palette.size(); ++i) {
        const std::uint8_t* entry = &table[i * entryBytes];
        palette[i] = {entry[2], entry[1], entry[0], 255};
    }
    return palette;
}
