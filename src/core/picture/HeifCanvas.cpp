#include "core/picture/HeifCanvas.h"

#include <algorithm>
#include <array>
#include <optional>

#include "core/io/ByteOrder.h"

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::uint32_t FourCc(const char (&text)[5]) {
    return static_cast<std::uint32_t>(text[0]) << 24 | static_cast<std::uint32_t>(text[1]) << 16 |
           static_cast<std::uint32_t>(text[2]) << 8 | static_cast<std::uint32_t>(text[3]);
}

constexpr std::uint32_t kGrid = FourCc("grid");
constexpr std::uint32_t kOverlay = FourCc("iovl");
constexpr std::array<std::uint32_t, 2> kDerived{kGrid, kOverlay};
// The items libheif 1.15 takes for images.
constexpr std::array<std::uint32_t, 5> kImages{FourCc("hvc1"), FourCc("av01"), kGrid, kOverlay,
                                               FourCc("iden")};
// The most of an item's data its canvas size needs: an overlay's with 32-bit fields.
constexpr std::size_t kItemHeadBytes = 18;

// Big-endian fields read one after another. A read past the end gives 0 and fails the cursor,
// so a caller checks once after a group of fields.
class Cursor {
public:
    explicit Cursor(Bytes bytes) : m_rest(bytes) {}

    // size: 0, 1, 2, 4 or 8 bytes; any other fails.
    std::uint64_t Read(std::size_t size) {
        if (m_failed || size > m_rest.size() || (size > 2 && size != 4 && size != 8)) {
            m_failed = true;
            return 0;
        }
        std::uint64_t value = 0;
        if (size == 1) value = m_rest[0];
        if (size == 2) value = LoadBig16(m_rest.data());
        if (size == 4) value = LoadBig32(m_rest.data());
        if (size == 8)
            value = static_cast<std::uint64_t>(LoadBig32(m_rest.data())) << 32 |
                    LoadBig32(m_rest.data() + 4);
        m_rest = m_rest.subspan(size);
        return value;
    }

    bool Failed() const { return m_failed; }
    Bytes Rest() const { return m_rest; }

private:
    Bytes m_rest;
    bool m_failed = false;
};

struct Box {
    std::uint32_t type = 0;
    Bytes body;
};

// The next box of rest, taken off it. A box claiming more than is left is cut at the end; a
// header that does not fit gives nothing.
std::optional<Box> TakeBox(Bytes& rest) {
    Cursor cursor(rest);
    std::uint64_t size = cursor.Read(4);
    const auto type = static_cast<std::uint32_t>(cursor.Read(4));
    std::size_t header = 8;
    if (size == 1) {
        size = cursor.Read(8);
        header = 16;
    }
    if (cursor.Failed()) return std::nullopt;
    if (size == 0) size = rest.size();  // up to the end
    if (size < header) return std::nullopt;
    size = std::min<std::uint64_t>(size, rest.size());
    const Box box{type, rest.subspan(header, static_cast<std::size_t>(size) - header)};
    rest = rest.subspan(static_cast<std::size_t>(size));
    return box;
}

std::optional<Bytes> FindBox(Bytes boxes, std::uint32_t type) {
    while (const std::optional<Box> box = TakeBox(boxes))
        if (box->type == type) return box->body;
    return std::nullopt;
}

struct DerivedItem {
    std::uint32_t id = 0;
    std::uint32_t type = 0;
};

bool ById(const DerivedItem& a, const DerivedItem& b) { return a.id < b.id; }

// The items of the given types that the item information box lists, up to any damage, in the
// order of their ids: thousands of them are looked up quickly.
std::vector<DerivedItem> ListedItems(Bytes iinf, std::span<const std::uint32_t> types) {
    std::vector<DerivedItem> items;
    Cursor cursor(iinf);
    const std::uint64_t version = cursor.Read(4) >> 24;  // and flags
    cursor.Read(version == 0 ? 2 : 4);  // the entry count: the boxes say it themselves
    if (cursor.Failed()) return items;
    Bytes entries = cursor.Rest();
    while (const std::optional<Box> box = TakeBox(entries)) {
        if (box->type != FourCc("infe")) continue;
        Cursor entry(box->body);
        const std::uint64_t entryVersion = entry.Read(4) >> 24;  // and flags
        if (entryVersion < 2) continue;                          // no item type before version 2
        const auto id = static_cast<std::uint32_t>(entry.Read(entryVersion == 2 ? 2 : 4));
        entry.Read(2);  // protection index
        const auto type = static_cast<std::uint32_t>(entry.Read(4));
        if (!entry.Failed() && std::find(types.begin(), types.end(), type) != types.end())
            items.push_back({id, type});
    }
    std::sort(items.begin(), items.end(), ById);
    return items;
}

bool Listed(const std::vector<DerivedItem>& items, std::uint32_t id) {
    return std::binary_search(items.begin(), items.end(), DerivedItem{id, 0}, ById);
}

struct ItemHead {
    std::array<std::uint8_t, kItemHeadBytes> bytes{};
    std::size_t size = 0;
};

// Appends the start of an extent of source to head. False when the extent runs to the end of
// source (length 0) or past it: nothing after it can follow in place.
bool AppendExtent(ItemHead& head, Bytes source, std::uint64_t offset, std::uint64_t length) {
    if (offset > source.size()) return false;
    const std::uint64_t inside = source.size() - offset;
    const bool whole = length != 0 && length <= inside;
    const std::uint64_t count =
        std::min<std::uint64_t>(whole ? length : inside, head.bytes.size() - head.size);
    std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(offset), count,
                head.bytes.begin() + static_cast<std::ptrdiff_t>(head.size));
    head.size += static_cast<std::size_t>(count);
    return whole;
}

std::optional<CanvasSize> StatedCanvas(std::uint32_t type, const ItemHead& head) {
    Cursor cursor(Bytes(head.bytes.data(), head.size));
    cursor.Read(1);  // version
    const std::size_t fieldSize = (cursor.Read(1) & 1) != 0 ? 4 : 2;
    if (type == kGrid)
        cursor.Read(2);  // rows - 1, columns - 1
    else
        cursor.Read(8);  // the fill colour
    const auto width = static_cast<std::uint32_t>(cursor.Read(fieldSize));
    const auto height = static_cast<std::uint32_t>(cursor.Read(fieldSize));
    if (cursor.Failed()) return std::nullopt;
    return CanvasSize{width, height, type == kOverlay};
}

// Calls visit(id, head) with the start of each item's data that the item locations list, in
// their order, up to any damage.
template <typename Visit>
void VisitItemHeads(Bytes file, Bytes boxes, Visit visit) {
    const std::optional<Bytes> iloc = FindBox(boxes, FourCc("iloc"));
    const Bytes idat = FindBox(boxes, FourCc("idat")).value_or(Bytes());
    if (!iloc) return;
    Cursor cursor(*iloc);
    const std::uint64_t version = cursor.Read(4) >> 24;  // and flags
    const std::uint64_t sizes1 = cursor.Read(1);
    const std::uint64_t sizes2 = cursor.Read(1);
    const std::size_t offsetSize = sizes1 >> 4;
    const std::size_t lengthSize = sizes1 & 0x0F;
    const std::size_t baseOffsetSize = sizes2 >> 4;
    const std::size_t indexSize = version == 1 || version == 2 ? sizes2 & 0x0F : 0;
    const std::size_t idSize = version < 2 ? 2 : 4;
    const std::uint64_t itemCount = cursor.Read(idSize);
    if (cursor.Failed() || version > 2) return;
    for (std::uint64_t i = 0; i < itemCount; ++i) {
        const auto id = static_cast<std::uint32_t>(cursor.Read(idSize));
        const std::uint64_t method = version == 0 ? 0 : cursor.Read(2) & 0x0F;
        const std::uint64_t dataReference = cursor.Read(2);
        const std::uint64_t baseOffset = cursor.Read(baseOffsetSize);
        const std::uint64_t extentCount = cursor.Read(2);
        // Extents without fields are all alike: one is read, so that their count cannot make the
        // walk long.
        const std::uint64_t extentsRead = offsetSize + lengthSize + indexSize == 0
                                              ? std::min<std::uint64_t>(extentCount, 1)
                                              : extentCount;
        // In this file or in the item data box; other places are left to the decoder.
        const bool here = method == 0 && dataReference == 0;
        ItemHead head;
        bool appending = here || method == 1;
        for (std::uint64_t e = 0; e < extentsRead && !cursor.Failed(); ++e) {
            cursor.Read(indexSize);
            const std::uint64_t offset = cursor.Read(offsetSize);
            const std::uint64_t length = cursor.Read(lengthSize);
            appending = appending && !cursor.Failed() && offset <= UINT64_MAX - baseOffset &&
                        AppendExtent(head, here ? file : idat, baseOffset + offset, length);
        }
        if (cursor.Failed()) break;
        visit(id, head);
    }
}

// The boxes inside a file's meta box, after its version and flags.
std::optional<Bytes> MetaBoxes(Bytes file) {
    const std::optional<Bytes> meta = FindBox(file, FourCc("meta"));
    if (!meta || meta->size() < 4) return std::nullopt;
    return meta->subspan(4);
}

// The items that the references of type referenceType from item from point to, in order.
std::vector<std::uint32_t> References(Bytes iref, std::uint32_t referenceType, std::uint32_t from) {
    Cursor cursor(iref);
    const std::size_t idSize = (cursor.Read(4) >> 24) == 0 ? 2 : 4;  // by the version
    Bytes references = cursor.Rest();
    while (const std::optional<Box> box = TakeBox(references)) {
        if (box->type != referenceType) continue;
        Cursor reference(box->body);
        if (reference.Read(idSize) != from) continue;
        const std::uint64_t count = reference.Read(2);
        std::vector<std::uint32_t> to;
        for (std::uint64_t i = 0; i < count; ++i) {
            const auto id = static_cast<std::uint32_t>(reference.Read(idSize));
            if (reference.Failed()) return {};
            to.push_back(id);
        }
        return to;
    }
    return {};
}

// The properties (their boxes, in the order of the association) associated with an item.
std::vector<Box> PropertiesOf(Bytes boxes, std::uint32_t item) {
    const std::optional<Bytes> iprp = FindBox(boxes, FourCc("iprp"));
    if (!iprp) return {};
    std::vector<Box> properties;
    Bytes ipco = FindBox(*iprp, FourCc("ipco")).value_or(Bytes());
    while (const std::optional<Box> box = TakeBox(ipco)) properties.push_back(*box);
    const std::optional<Bytes> ipma = FindBox(*iprp, FourCc("ipma"));
    if (!ipma) return {};
    Cursor cursor(*ipma);
    const std::uint64_t versionAndFlags = cursor.Read(4);
    const std::size_t idSize = (versionAndFlags >> 24) < 1 ? 2 : 4;
    const std::size_t indexSize = (versionAndFlags & 1) != 0 ? 2 : 1;
    const std::uint64_t entries = cursor.Read(4);
    for (std::uint64_t e = 0; e < entries && !cursor.Failed(); ++e) {
        const std::uint64_t id = cursor.Read(idSize);
        const std::uint64_t count = cursor.Read(1);
        std::vector<Box> associated;
        for (std::uint64_t a = 0; a < count && !cursor.Failed(); ++a) {
            // Without its top bit, which says whether the property is essential; from 1.
            const std::uint64_t index = cursor.Read(indexSize) & (indexSize == 2 ? 0x7FFF : 0x7F);
            if (index > 0 && index <= properties.size())
                associated.push_back(properties[index - 1]);
        }
        if (!cursor.Failed() && id == item) return associated;
    }
    return {};
}

}  // namespace

std::vector<CanvasSize> StatedCanvasSizes(std::span<const std::uint8_t> file) {
    std::vector<CanvasSize> sizes;
    const std::optional<Bytes> boxes = MetaBoxes(file);
    if (!boxes) return sizes;
    const std::optional<Bytes> iinf = FindBox(*boxes, FourCc("iinf"));
    if (!iinf) return sizes;
    const std::vector<DerivedItem> items = ListedItems(*iinf, kDerived);
    if (items.empty()) return sizes;
    VisitItemHeads(file, *boxes, [&](std::uint32_t id, const ItemHead& head) {
        const auto item = std::lower_bound(items.begin(), items.end(), DerivedItem{id, 0}, ById);
        if (item == items.end() || item->id != id) return;
        if (const std::optional<CanvasSize> canvas = StatedCanvas(item->type, head))
            sizes.push_back(*canvas);
    });
    return sizes;
}

std::optional<HeifGrid> PrimaryGrid(std::span<const std::uint8_t> file) {
    const std::optional<Bytes> boxes = MetaBoxes(file);
    if (!boxes) return std::nullopt;
    const std::optional<Bytes> pitm = FindBox(*boxes, FourCc("pitm"));
    const std::optional<Bytes> iinf = FindBox(*boxes, FourCc("iinf"));
    const std::optional<Bytes> iref = FindBox(*boxes, FourCc("iref"));
    if (!pitm || !iinf || !iref) return std::nullopt;
    Cursor primary(*pitm);
    HeifGrid grid;
    grid.id = static_cast<std::uint32_t>(primary.Read((primary.Read(4) >> 24) == 0 ? 2 : 4));
    if (primary.Failed()) return std::nullopt;
    const std::vector<DerivedItem> grids = ListedItems(*iinf, std::array{kGrid});
    if (!Listed(grids, grid.id)) return std::nullopt;

    bool stated = false;
    VisitItemHeads(file, *boxes, [&](std::uint32_t id, const ItemHead& head) {
        if (id != grid.id || stated) return;
        Cursor cursor(Bytes(head.bytes.data(), head.size));
        cursor.Read(1);  // version
        const std::size_t fieldSize = (cursor.Read(1) & 1) != 0 ? 4 : 2;
        grid.rows = static_cast<std::uint32_t>(cursor.Read(1)) + 1;
        grid.columns = static_cast<std::uint32_t>(cursor.Read(1)) + 1;
        grid.width = static_cast<std::uint32_t>(cursor.Read(fieldSize));
        grid.height = static_cast<std::uint32_t>(cursor.Read(fieldSize));
        stated = !cursor.Failed();
    });
    grid.tiles = References(*iref, FourCc("dimg"), grid.id);
    if (!stated || grid.tiles.size() != std::size_t{grid.rows} * grid.columns) return std::nullopt;
    // Tiles coded as images, not derived from others in turn.
    const std::vector<DerivedItem> coded =
        ListedItems(*iinf, std::array{FourCc("hvc1"), FourCc("av01")});
    if (!std::all_of(grid.tiles.begin(), grid.tiles.end(),
                     [&](std::uint32_t tile) { return Listed(coded, tile); }))
        return std::nullopt;

    // Each tile's entry, where its hidden flag lies.
    std::vector<std::pair<std::uint32_t, std::size_t>> flags;
    Cursor cursor(*iinf);
    cursor.Read((cursor.Read(4) >> 24) == 0 ? 2 : 4);  // the entry count
    if (cursor.Failed()) return std::nullopt;
    Bytes entries = cursor.Rest();
    while (const std::optional<Box> box = TakeBox(entries)) {
        Cursor entry(box->body);
        const std::uint64_t entryVersion = entry.Read(4) >> 24;
        const auto id = static_cast<std::uint32_t>(entry.Read(entryVersion < 3 ? 2 : 4));
        if (box->type == FourCc("infe") && !entry.Failed())
            flags.emplace_back(id, static_cast<std::size_t>(box->body.data() - file.data()) + 3);
    }
    std::sort(flags.begin(), flags.end());
    for (const std::uint32_t tile : grid.tiles) {
        const auto entry =
            std::lower_bound(flags.begin(), flags.end(), std::pair{tile, std::size_t{0}});
        if (entry == flags.end() || entry->first != tile) return std::nullopt;
        grid.hiddenFlagOffsets.push_back(entry->second);
    }

    for (const Box& property : PropertiesOf(*boxes, grid.id)) {
        if (property.type == FourCc("clap")) grid.cropped = true;
        if (property.body.empty()) continue;
        if (property.type == FourCc("irot"))
            grid.transformations.push_back({HeifGrid::Step::kRotate, property.body[0] & 3});
        if (property.type == FourCc("imir"))
            grid.transformations.push_back({HeifGrid::Step::kMirror, property.body[0] & 1});
    }
    return grid;
}

bool HeifDerivesOnlyFromImages(std::span<const std::uint8_t> file) {
    const std::optional<Bytes> boxes = MetaBoxes(file);
    if (!boxes) return true;
    const std::optional<Bytes> iinf = FindBox(*boxes, FourCc("iinf"));
    const std::optional<Bytes> iref = FindBox(*boxes, FourCc("iref"));
    if (!iinf || !iref) return true;
    const std::vector<DerivedItem> images = ListedItems(*iinf, kImages);
    Cursor cursor(*iref);
    const std::size_t idSize = (cursor.Read(4) >> 24) == 0 ? 2 : 4;  // by the version
    Bytes references = cursor.Rest();
    while (const std::optional<Box> box = TakeBox(references)) {
        if (box->type != FourCc("dimg")) continue;
        Cursor reference(box->body);
        reference.Read(idSize);  // the derived item
        const std::uint64_t count = reference.Read(2);
        for (std::uint64_t i = 0; i < count && !reference.Failed(); ++i) {
            const auto source = static_cast<std::uint32_t>(reference.Read(idSize));
            if (!reference.Failed() && !Listed(images, source)) return false;
        }
    }
    return true;
}
