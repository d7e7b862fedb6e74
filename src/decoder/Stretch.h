#pragma once

#include <cstdint>
#include <vector>

#include "core/layout/SkinLayout.h"
#include "decoder/StoredPicture.h"

// The picture laid on black (its transparent parts black, as the game has always shown them) and
// stretched to exactly size, aspect ratio not kept, as red, green, blue bytes, rows top first.
// Each side is averaged over the area a pixel covers where it shrinks and interpolated linearly
// where it grows. The image's pixels are used up: laid on black and packed to three bytes a
// pixel in place. Empty when the resampler fails.
std::vector<std::uint8_t> StretchedOnBlack(const PixelRows& image, bool premultiplied,
                                           layout::Size size);

// The same stretch of a picture of width x height (three bytes a pixel, no alpha) whose rows
// come a band at a time, top first, so that the whole picture is never held: each band is added
// as it comes and the rows of the stretched picture that the rows so far determine are made at
// once; the rows later ones still need are kept. Gives what StretchedOnBlack gives for the whole
// picture, each value within 1 (the filters' positions are the same, reckoned from another
// origin in single precision).
class BandStretch {
public:
    BandStretch(std::uint32_t width, std::uint32_t height, layout::Size size);

    // The most picture rows it holds at once for bands of bandRows rows.
    std::uint32_t HeldRows(std::uint32_t bandRows) const;

    // Room for the next count rows (fewer at the picture's end), rowBytes apart, which the
    // caller fills, and then passes to AddRows. Empty once every row has come.
    std::uint8_t* NextRows(std::uint32_t count);
    std::size_t RowBytes() const { return std::size_t{m_width} * 3; }
    // Takes the count rows written at NextRows; false when the resampler fails.
    bool AddRows(std::uint32_t count);

    // The stretched picture, once every row has been added; empty until then.
    std::vector<std::uint8_t> Finished() &&;

private:
    std::uint32_t FirstRowFor(std::uint32_t outputRow) const;
    std::uint32_t LastRowFor(std::uint32_t outputRow) const;

    std::uint32_t m_width, m_height;
    layout::Size m_size;
    std::vector<std::uint8_t> m_rows;  // picture rows m_first to m_first + m_held
    std::uint32_t m_first = 0;
    std::uint32_t m_held = 0;
    std::uint32_t m_made = 0;  // rows of the stretched picture made so far
    std::vector<std::uint8_t> m_rgb;
};
