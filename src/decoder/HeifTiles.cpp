#include "decoder/HeifTiles.h"

#include <libheif/heif.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "core/picture/DecodeLimits.h"
#include "core/picture/HeifCanvas.h"
#include "decoder/HeifHandles.h"
#include "decoder/Orientation.h"
#include "decoder/Processors.h"
#include "decoder/Stretch.h"

namespace {

using Bytes = std::span<const std::uint8_t>;

DecodedPicture Refused(std::string why) { return {{}, std::move(why)}; }

// The file as libheif's reader, with the bytes of the tiles' entries taken from a copy in which
// they are not hidden: libheif 1.15 gives a handle to no hidden image, and lists no grid's tiles.
class UnhiddenTiles {
public:
    UnhiddenTiles(Bytes file, const std::vector<std::size_t>& hiddenFlagOffsets) : m_file(file) {
        const auto [first, last] =
            std::minmax_element(hiddenFlagOffsets.begin(), hiddenFlagOffsets.end());
        m_copyStart = *first;
        m_copy.assign(file.begin() + static_cast<std::ptrdiff_t>(*first),
                      file.begin() + static_cast<std::ptrdiff_t>(*last) + 1);
        for (const std::size_t offset : hiddenFlagOffsets) m_copy[offset - m_copyStart] &= 0xFE;
    }

    static const heif_reader* Reader() {
        static const heif_reader reader{1, Position, Read, Seek, WaitForFileSize};
        return &reader;
    }

private:
    static UnhiddenTiles& Of(void* self) { return *static_cast<UnhiddenTiles*>(self); }

    static std::int64_t Position(void* self) { return static_cast<std::int64_t>(Of(self).m_at); }

    static int Read(void* data, size_t size, void* self) {
        UnhiddenTiles& tiles = Of(self);
        if (size == 0) return 0;  // libheif asks for nothing into no buffer at times
        if (size > tiles.m_file.size() - tiles.m_at) return -1;
        auto* out = static_cast<std::uint8_t*>(data);
        std::memcpy(out, tiles.m_file.data() + tiles.m_at, size);
        // Where the read overlaps the copy, the copy's bytes.
        const std::size_t from = std::max(tiles.m_at, tiles.m_copyStart);
        const std::size_t to = std::min(tiles.m_at + size, tiles.m_copyStart + tiles.m_copy.size());
        if (from < to)
            std::memcpy(out + (from - tiles.m_at), tiles.m_copy.data() + (from - tiles.m_copyStart),
                        to - from);
        tiles.m_at += size;
        return 0;
    }

    static int Seek(std::int64_t position, void* self) {
        UnhiddenTiles& tiles = Of(self);
        if (position < 0 || static_cast<std::uint64_t>(position) > tiles.m_file.size()) return -1;
        tiles.m_at = static_cast<std::size_t>(position);
        return 0;
    }

    static heif_reader_grow_status WaitForFileSize(std::int64_t size, void* self) {
        return size >= 0 && static_cast<std::uint64_t>(size) <= Of(self).m_file.size()
                   ? heif_reader_grow_status_size_reached
                   : heif_reader_grow_status_size_beyond_eof;
    }

    Bytes m_file;
    std::size_t m_at = 0;
    std::size_t m_copyStart = 0;
    std::vector<std::uint8_t> m_copy;
};

// The EXIF orientation (1 to 8) that shows the grid's canvas as libheif's rotations (quarter
// turns counter-clockwise) and mirrors (axis 1 left to right, as libheif 1.15 reads it, else
// top to bottom), applied in their order, show it: found by turning a small picture of distinct
// pixels both ways.
int OrientationOf(const std::vector<HeifGrid::Transformation>& transformations) {
    constexpr int kWidth = 3, kHeight = 2;
    int width = kWidth, height = kHeight;
    std::vector<std::uint8_t> pixels(kWidth * kHeight);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i);
    for (const HeifGrid::Transformation& step : transformations) {
        std::vector<std::uint8_t> turned(pixels.size());
        const bool rotate = step.step == HeifGrid::Step::kRotate;
        const int quarters = rotate ? step.value % 4 : 0;
        const int turnedWidth = quarters % 2 == 1 ? height : width;
        for (int y = 0; y < (quarters % 2 == 1 ? width : height); ++y)
            for (int x = 0; x < turnedWidth; ++x) {
                int fromX = x, fromY = y;
                if (quarters == 1) fromX = width - 1 - y, fromY = x;
                if (quarters == 2) fromX = width - 1 - x, fromY = height - 1 - y;
                if (quarters == 3) fromX = y, fromY = height - 1 - x;
                if (!rotate && step.value == 1) fromX = width - 1 - x;
                if (!rotate && step.value == 0) fromY = height - 1 - y;
                turned[static_cast<std::size_t>(y * turnedWidth + x)] =
                    pixels[static_cast<std::size_t>(fromY * width + fromX)];
            }
        if (quarters % 2 == 1) std::swap(width, height);
        pixels = std::move(turned);
    }
    std::vector<std::uint8_t> stored;
    for (int i = 0; i < kWidth * kHeight; ++i)
        stored.insert(stored.end(), 3, static_cast<std::uint8_t>(i));
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const std::vector<std::uint8_t> shown = Upright(stored, {kWidth, kHeight}, orientation);
        bool same = true;
        for (std::size_t i = 0; i < pixels.size(); ++i) same = same && shown[i * 3] == pixels[i];
        if (same && (width == kWidth) == (orientation < 5)) return orientation;
    }
    return 1;
}

using Handle = std::unique_ptr<heif_image_handle, HandleRelease>;

struct Tiles {
    std::vector<Handle> handles;  // row by row
    std::uint32_t width = 0;      // each one's
    std::uint32_t height = 0;
};

// Every tile's handle, all of one size, or none.
Tiles TilesOf(heif_context* context, const HeifGrid& grid) {
    Tiles tiles;
    for (const std::uint32_t id : grid.tiles) {
        heif_image_handle* handle = nullptr;
        if (heif_context_get_image_handle(context, id, &handle).code != heif_error_Ok) return {};
        tiles.handles.emplace_back(handle);
        const auto width = static_cast<std::uint32_t>(heif_image_handle_get_width(handle));
        const auto height = static_cast<std::uint32_t>(heif_image_handle_get_height(handle));
        if (tiles.handles.size() == 1) tiles.width = width, tiles.height = height;
        if (width != tiles.width || height != tiles.height || width == 0 || height == 0) return {};
    }
    return tiles;
}

// Decodes tile to RGB and copies what of it lies on the canvas into the band at column x.
bool DecodeTileInto(heif_image_handle* tile, const heif_decoding_options* options,
                    std::uint8_t* band, std::size_t bandRowBytes, std::uint32_t x,
                    std::uint32_t width, std::uint32_t rows) {
    heif_image* raw = nullptr;
    if (heif_decode_image(tile, &raw, heif_colorspace_RGB, heif_chroma_interleaved_RGB, options)
            .code != heif_error_Ok)
        return false;
    const std::unique_ptr<heif_image, ImageRelease> image(raw);
    int stride = 0;
    const std::uint8_t* pixels =
        heif_image_get_plane_readonly(raw, heif_channel_interleaved, &stride);
    if (pixels == nullptr ||
        heif_image_get_width(raw, heif_channel_interleaved) < static_cast<int>(width) ||
        heif_image_get_height(raw, heif_channel_interleaved) < static_cast<int>(rows))
        return false;
    for (std::uint32_t y = 0; y < rows; ++y)
        std::memcpy(band + y * bandRowBytes + std::size_t{x} * 3,
                    pixels + static_cast<std::ptrdiff_t>(y) * stride, std::size_t{width} * 3);
    return true;
}

}  // namespace

std::optional<DecodedPicture> DecodedTileByTile(std::span<const std::uint8_t> bytes,
                                                layout::Size size) {
    const std::optional<HeifGrid> grid = PrimaryGrid(bytes);
    if (!grid || grid->cropped || !HeifDerivesOnlyFromImages(bytes)) return std::nullopt;
    if (!DeclaredSizeAcceptable(grid->width, grid->height, 0)) return Refused("too large");

    UnhiddenTiles file(bytes, grid->hiddenFlagOffsets);
    const std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (context == nullptr) return Refused("not a whole picture");
    heif_context_set_maximum_image_size_limit(context.get(), static_cast<int>(kMaxPictureSide));
    heif_context_set_max_decoding_threads(context.get(), 0);  // one tile per call, ours
    if (heif_context_read_from_reader(context.get(), UnhiddenTiles::Reader(), &file, nullptr)
            .code != heif_error_Ok)
        return Refused("not a whole picture");
    heif_image_handle* rawPrimary = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &rawPrimary).code != heif_error_Ok)
        return Refused("not a whole picture");
    const Handle primary(rawPrimary);
    // Alpha comes from an image of its own, a grid too: such a grid is decoded whole.
    heif_item_id primaryId = 0;
    if (heif_context_get_primary_image_ID(context.get(), &primaryId).code != heif_error_Ok ||
        primaryId != grid->id || heif_image_handle_has_alpha_channel(rawPrimary) != 0)
        return std::nullopt;

    const Tiles tiles = TilesOf(context.get(), *grid);
    if (tiles.handles.empty()) return std::nullopt;  // tiles of several sizes: decoded whole
    // As libheif lays them: the last row and column cut at the canvas, none beyond it.
    const std::uint64_t columns = (grid->width + tiles.width - 1) / tiles.width;
    const std::uint64_t rows = (grid->height + tiles.height - 1) / tiles.height;
    if (columns != grid->columns || rows != grid->rows)
        return Refused("tiles do not fit the canvas");

    StoredPicture colours;
    colours.orientation = OrientationOf(grid->transformations);
    colours.iccProfile = IccProfile(rawPrimary);
    colours.codedColour = CodedColourOf(rawPrimary);
    BandStretch stretch(grid->width, grid->height, StretchedSize(colours.orientation, size));

    // What is held: the stretch's rows, and each tile decoding side by side with its codec's own.
    const unsigned threads = std::min<unsigned>(Processors(), grid->columns);
    const std::uint64_t held = std::uint64_t{stretch.HeldRows(tiles.height)} * stretch.RowBytes() +
                               threads * std::uint64_t{tiles.width} * tiles.height *
                                   HeldBytesPerPixel(tiles.handles.front().get(), false);
    if (!DeclaredHoldingAcceptable(grid->width, grid->height, held)) return Refused("too large");

    const std::unique_ptr<heif_decoding_options, OptionsFree> options(StrictEightBitOptions());
    if (options == nullptr) return Refused("not a whole picture");
    for (std::uint32_t row = 0; row < grid->rows; ++row) {
        const std::uint32_t bandRows = std::min(tiles.height, grid->height - row * tiles.height);
        std::uint8_t* band = stretch.NextRows(bandRows);
        if (band == nullptr) return Refused("not a whole picture");
        std::atomic<std::uint32_t> next{0};
        std::atomic<bool> failed{false};
        const auto decodeTiles = [&] {
            for (std::uint32_t column; (column = next++) < grid->columns && !failed;) {
                const std::uint32_t x = column * tiles.width;
                const std::uint32_t width = std::min(tiles.width, grid->width - x);
                if (!DecodeTileInto(tiles.handles[row * grid->columns + column].get(),
                                    options.get(), band, stretch.RowBytes(), x, width, bandRows))
                    failed = true;
            }
        };
        std::vector<std::thread> helpers;
        for (unsigned t = 1; t < threads; ++t) helpers.emplace_back(decodeTiles);
        decodeTiles();
        for (std::thread& helper : helpers) helper.join();
        if (failed || !stretch.AddRows(bandRows)) return Refused("not a whole picture");
    }
    return FinishedStretch(std::move(stretch).Finished(), colours, size);
}
