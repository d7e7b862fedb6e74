#include "decoder/Stretch.h"

// stb's resampler is a single-file library: compiled here, rather than linked from Debian's
// libstb, which holds every stb module and took each decoder 0.7 ms to load.
#define STB_IMAGE_RESIZE_STATIC
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb_image_resize.h>

#include <algorithm>

namespace {

// Lays each pixel on black and packs the row to three bytes a pixel in place, from its start:
// the resampler then has a quarter less to read and write, and gives red, green, blue at once.
// Packed from the left, a pixel is written no further right than it was read from.
void LayOnBlackAsRgb(const PixelRows& image, bool premultiplied) {
    for (std::size_t y = 0; y < image.height; ++y) {
        std::uint8_t* row = image.pixels + y * image.rowBytes;
        const std::uint8_t* from = row;
        for (std::uint8_t* to = row; to != row + std::size_t{image.width} * 3; to += 3, from += 4) {
            const unsigned alpha = from[3];
            for (int channel = 0; channel < 3; ++channel) {
                const unsigned value = from[channel];
                to[channel] = premultiplied || alpha == 0xFF
                                  ? static_cast<std::uint8_t>(value)
                                  : static_cast<std::uint8_t>((value * alpha + 127) / 255);
            }
        }
    }
}

stbir_filter FilterFor(std::uint32_t from, int to) {
    return from > static_cast<std::uint32_t>(to) ? STBIR_FILTER_BOX : STBIR_FILTER_TRIANGLE;
}

// Picture rows kept beyond those a stretched row's filter reaches (one pixel either way, in the
// picture's or the stretched picture's rows), so that rounding cannot leave one out.
constexpr std::uint32_t kMarginRows = 3;

}  // namespace

std::vector<std::uint8_t> StretchedOnBlack(const PixelRows& image, bool premultiplied,
                                           layout::Size size) {
    if (image.channels == 4) LayOnBlackAsRgb(image, premultiplied);
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(size.width) * size.height * 3);
    if (stbir_resize(image.pixels, static_cast<int>(image.width), static_cast<int>(image.height),
                     static_cast<int>(image.rowBytes), rgb.data(), size.width, size.height,
                     size.width * 3, STBIR_TYPE_UINT8, 3, STBIR_ALPHA_CHANNEL_NONE, 0,
                     STBIR_EDGE_CLAMP, STBIR_EDGE_CLAMP, FilterFor(image.width, size.width),
                     FilterFor(image.height, size.height), STBIR_COLORSPACE_LINEAR, nullptr) != 1)
        return {};
    return rgb;
}

BandStretch::BandStretch(std::uint32_t width, std::uint32_t height, layout::Size size)
    : m_width(width),
      m_height(height),
      m_size(size),
      m_rgb(static_cast<std::size_t>(size.width) * size.height * 3) {}

std::uint32_t BandStretch::HeldRows(std::uint32_t bandRows) const {
    // A band, and what the first stretched row not yet made needs of the rows before it: the
    // picture rows one stretched row covers, one more either side, and the margins.
    const std::uint32_t covered = (m_height + m_size.height - 1) / m_size.height;
    return bandRows + covered + 2 * (2 + kMarginRows);
}

std::uint32_t BandStretch::FirstRowFor(std::uint32_t outputRow) const {
    const auto row = static_cast<std::int64_t>(std::uint64_t{outputRow} * m_height / m_size.height);
    return static_cast<std::uint32_t>(std::max<std::int64_t>(0, row - 1 - kMarginRows));
}

std::uint32_t BandStretch::LastRowFor(std::uint32_t outputRow) const {
    const std::uint64_t row =
        (std::uint64_t{outputRow + 1} * m_height + m_size.height - 1) / m_size.height;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(m_height - 1, row + 1 + kMarginRows));
}

std::uint8_t* BandStretch::NextRows(std::uint32_t count) {
    const std::uint32_t next = m_first + m_held;
    if (next >= m_height) return nullptr;
    count = std::min(count, m_height - next);
    const std::size_t needed = (std::size_t{m_held} + count) * RowBytes();
    // Room for the most it holds at once, taken once: growing would hold old and new together.
    if (m_rows.capacity() < needed)
        m_rows.reserve(std::max<std::size_t>(needed, std::size_t{HeldRows(count)} * RowBytes()));
    m_rows.resize(needed);
    return m_rows.data() + std::size_t{m_held} * RowBytes();
}

bool BandStretch::AddRows(std::uint32_t count) {
    m_held = std::min(m_held + count, m_height - m_first);
    const std::uint32_t end = m_first + m_held;
    // The stretched rows whose filters reach no further than the rows held.
    std::uint32_t made = m_made;
    while (made < static_cast<std::uint32_t>(m_size.height) &&
           (end == m_height || LastRowFor(made) < end))
        ++made;
    if (made > m_made) {
        const float scaleX = static_cast<float>(m_size.width) / static_cast<float>(m_width);
        const float scaleY = static_cast<float>(m_size.height) / static_cast<float>(m_height);
        // Stretched row m_made of the whole is row 0 here; picture row m_first is row 0 here.
        const float shift = static_cast<float>(m_made) - static_cast<float>(m_first) * scaleY;
        if (stbir_resize_subpixel(
                m_rows.data(), static_cast<int>(m_width), static_cast<int>(m_held),
                static_cast<int>(RowBytes()), m_rgb.data() + std::size_t{m_made} * m_size.width * 3,
                m_size.width, static_cast<int>(made - m_made), m_size.width * 3, STBIR_TYPE_UINT8,
                3, STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP, STBIR_EDGE_CLAMP,
                FilterFor(m_width, m_size.width), FilterFor(m_height, m_size.height),
                STBIR_COLORSPACE_LINEAR, nullptr, scaleX, scaleY, 0, shift) != 1)
            return false;
        m_made = made;
    }
    // Rows no stretched row still to be made needs are dropped.
    const std::uint32_t keepFrom = m_made < static_cast<std::uint32_t>(m_size.height)
                                       ? std::max(m_first, FirstRowFor(m_made))
                                       : end;
    const std::size_t dropped = std::size_t{keepFrom - m_first} * RowBytes();
    m_rows.erase(m_rows.begin(), m_rows.begin() + static_cast<std::ptrdiff_t>(dropped));
    m_held -= keepFrom - m_first;
    m_first = keepFrom;
    return true;
}

std::vector<std::uint8_t> BandStretch::Finished() && {
    if (m_made < static_cast<std::uint32_t>(m_size.height)) return {};
    return std::move(m_rgb);
}
