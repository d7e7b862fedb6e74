#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

struct CanvasSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool overlay = false;  // an overlay places its images itself; a grid tiles them

    bool operator==(const CanvasSize&) const = default;
};

// The canvas sizes that the grid ('grid') and overlay ('iovl') items of a HEIF file (its whole
// bytes) state in their own data, whatever the image's declared size says, in the order the
// item locations list them. Decoders allocate such a canvas as stated. Only what a damaged or
// foreign file lets be read is given: possibly nothing.
std::vector<CanvasSize> StatedCanvasSizes(std::span<const std::uint8_t> file);

// False when a derived image of a HEIF file (its whole bytes: a grid, overlay or identity)
// derives from an item that the file lists as no image libheif decodes, or does not list at
// all: libheif 1.15 asserts on such a file, which ends the process decoding it.
bool HeifDerivesOnlyFromImages(std::span<const std::uint8_t> file);

// What the primary image of a HEIF file is made of when it is a grid: the tiles it states, the
// transformations it applies to its canvas, and where the file marks each tile hidden.
struct HeifGrid {
    enum class Step { kRotate, kMirror };
    struct Transformation {
        Step step = Step::kRotate;
        int value = 0;  // quarter turns counter-clockwise, or the mirror's axis byte

        bool operator==(const Transformation&) const = default;
    };

    std::uint32_t id = 0;
    std::uint32_t rows = 0;
    std::uint32_t columns = 0;
    std::uint32_t width = 0;  // the canvas the grid states
    std::uint32_t height = 0;
    std::vector<std::uint32_t> tiles;  // row by row, rows x columns of them
    // In the order the file associates them with the grid; a crop (clap) is not among them.
    std::vector<Transformation> transformations;
    bool cropped = false;
    // The offset in the file of each tile's item entry flags' last byte, whose lowest bit hides
    // it; libheif 1.15 hands out images that are not hidden only.
    std::vector<std::size_t> hiddenFlagOffsets;
};

// The grid that a HEIF file's (its whole bytes) primary item is, read bounds-checked; nullopt
// when the primary item is no grid, or the grid's item data, its tile references or its tiles'
// entries are damaged or missing, or a tile is not a coded image (HEVC or AV1).
std::optional<HeifGrid> PrimaryGrid(std::span<const std::uint8_t> file);
