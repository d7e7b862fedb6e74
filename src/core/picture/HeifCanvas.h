#pragma once

#include <cstdint>
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
