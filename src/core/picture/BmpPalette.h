#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// A bitmap's colour table as RGBA, always 256 entries: those past the file's own table are
// opaque black, so a pixel indexing past the table shows black, the same every time.
using BmpPalette = std::array<std::array<std::uint8_t, 4>, 256>;

// Reads the first entries (at most 256) of a table stored as blue, green, red and, when
// entryBytes is 4, a byte no writer fills in: every entry is opaque. table holds them all.
BmpPalette ReadBmpPalette(std::span<const std::uint8_t> table, std::size_t entryBytes,
                          std::size_t entries);
