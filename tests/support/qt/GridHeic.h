#pragma once

// HEIC grids as phones write them (a grid item over hidden HEVC tiles of one size, the last row
// and column cut at the canvas), made in code: no tool in Debian writes one. Each tile is coded
// by libheif's encoder; tiles of the same pixels are coded once and share their data.

#include <QImage>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/qt/HeifBytes.h"

namespace test {

namespace grid_heic {

using Bytes = std::vector<std::uint8_t>;

inline void Put(Bytes& bytes, std::uint64_t value, int size) {
    for (int i = size - 1; i >= 0; --i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

inline Bytes Box(const char* type, const Bytes& body) {
    Bytes box;
    // Reserved first: g++ 12 at -O3 warns falsely (-Wstringop-overread) on the growing inserts.
    box.reserve(8 + body.size());
    Put(box, 8 + body.size(), 4);
    box.insert(box.end(), type, type + 4);
    box.insert(box.end(), body.begin(), body.end());
    return box;
}

inline Bytes FullBox(const char* type, std::uint32_t versionAndFlags, const Bytes& body) {
    Bytes full;
    Put(full, versionAndFlags, 4);
    full.insert(full.end(), body.begin(), body.end());
    return Box(type, full);
}

// The body of the first box of type in a file libheif wrote (it nests none it needs here twice).
inline Bytes BodyOf(const Bytes& file, const char* type) {
    for (std::size_t at = 4; at + 4 <= file.size(); ++at) {
        if (std::memcmp(&file[at], type, 4) != 0) continue;
        const std::size_t size =
            std::size_t{file[at - 4]} << 24 | file[at - 3] << 16 | file[at - 2] << 8 | file[at - 1];
        if (size >= 8 && at - 4 + size <= file.size())
            return Bytes(file.begin() + static_cast<std::ptrdiff_t>(at + 4),
                         file.begin() + static_cast<std::ptrdiff_t>(at - 4 + size));
    }
    return {};
}

}  // namespace grid_heic

// A HEIC grid of width x height whose tile at column, row (tileSize x tileSize, the last row
// and column reaching past the canvas) is tileAt(column, row), its canvas turned by quarterTurns
// counter-clockwise (an 'irot' on the grid, as a phone held upright writes). Empty on failure.
inline std::vector<std::uint8_t> GridHeic(int width, int height, int tileSize,
                                          const std::function<QImage(int, int)>& tileAt,
                                          int quarterTurns = 0) {
    using namespace grid_heic;
    const int columns = (width + tileSize - 1) / tileSize;
    const int rows = (height + tileSize - 1) / tileSize;
    // Each distinct tile's configuration and data; which one each tile is.
    std::vector<std::pair<Bytes, Bytes>> coded;
    std::map<std::string, std::size_t> codedOf;
    std::vector<std::size_t> tiles;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            const QImage tile = tileAt(column, row).convertToFormat(QImage::Format_RGB32);
            if (tile.size() != QSize(tileSize, tileSize)) return {};
            const std::string key(reinterpret_cast<const char*>(tile.constBits()),
                                  static_cast<std::size_t>(tile.sizeInBytes()));
            auto found = codedOf.find(key);
            if (found == codedOf.end()) {
                const Bytes heic = HeifBytes(tile, heif_compression_HEVC);
                coded.emplace_back(BodyOf(heic, "hvcC"), BodyOf(heic, "mdat"));
                if (coded.back().first.empty() || coded.back().second.empty()) return {};
                found = codedOf.emplace(key, coded.size() - 1).first;
            }
            tiles.push_back(found->second);
        }

    // Properties: 1 the canvas's size, 2 a tile's, 3 the turn, then each configuration.
    const auto ispe = [](int width, int height) {
        Bytes body;
        Put(body, static_cast<std::uint64_t>(width), 4);
        Put(body, static_cast<std::uint64_t>(height), 4);
        return FullBox("ispe", 0, body);
    };
    Bytes ipco = ispe(width, height);
    const Bytes tileSizeBox = ispe(tileSize, tileSize);
    ipco.insert(ipco.end(), tileSizeBox.begin(), tileSizeBox.end());
    const Bytes irot = Box("irot", {static_cast<std::uint8_t>(quarterTurns & 3)});
    ipco.insert(ipco.end(), irot.begin(), irot.end());
    for (const auto& [configuration, data] : coded) {
        const Bytes hvcC = Box("hvcC", configuration);
        ipco.insert(ipco.end(), hvcC.begin(), hvcC.end());
    }
    const std::size_t count = tiles.size() + 1;  // item 1 the grid, 2... the tiles
    Bytes ipma, infes, dimg, gridData;
    Put(ipma, count, 4);
    Put(ipma, 1, 2);
    Put(ipma, quarterTurns == 0 ? 1 : 2, 1);
    Put(ipma, 1, 2);
    if (quarterTurns != 0) Put(ipma, 0x8000 | 3, 2);
    infes = FullBox("infe", 2u << 24, {0, 1, 0, 0, 'g', 'r', 'i', 'd', 0});
    Put(dimg, 1, 2);
    Put(dimg, tiles.size(), 2);
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const auto id = static_cast<std::uint64_t>(i + 2);
        Put(ipma, id, 2);
        Put(ipma, 2, 1);
        Put(ipma, 0x8000 | (4 + tiles[i]), 2);
        Put(ipma, 2, 2);
        Bytes entry;
        Put(entry, id, 2);
        Put(entry, 0, 2);
        entry.insert(entry.end(), {'h', 'v', 'c', '1', 0});
        const Bytes infe = FullBox("infe", 2u << 24 | 1, entry);  // hidden
        infes.insert(infes.end(), infe.begin(), infe.end());
        Put(dimg, id, 2);
    }
    gridData = {0, 0, static_cast<std::uint8_t>(rows - 1), static_cast<std::uint8_t>(columns - 1)};
    Put(gridData, static_cast<std::uint64_t>(width), 2);
    Put(gridData, static_cast<std::uint64_t>(height), 2);
    Bytes iinf;
    Put(iinf, count, 2);
    iinf.insert(iinf.end(), infes.begin(), infes.end());

    // The media data: the grid's, then each configuration's data once.
    Bytes mdat = gridData;
    std::vector<std::size_t> dataAt;
    for (const auto& [configuration, data] : coded) {
        dataAt.push_back(mdat.size());
        mdat.insert(mdat.end(), data.begin(), data.end());
    }
    const auto meta = [&](std::size_t mdatStart) {
        Bytes iloc{0x44, 0x00};  // 4-byte offsets and lengths, no base offsets
        Put(iloc, count, 2);
        for (std::size_t i = 0; i < count; ++i) {
            Put(iloc, i + 1, 2);
            Put(iloc, 0, 2);
            Put(iloc, 1, 2);
            const std::size_t at = i == 0 ? 0 : dataAt[tiles[i - 1]];
            const std::size_t length = i == 0 ? gridData.size() : coded[tiles[i - 1]].second.size();
            Put(iloc, mdatStart + at, 4);
            Put(iloc, length, 4);
        }
        Bytes hdlr(4, 0);
        hdlr.insert(hdlr.end(), {'p', 'i', 'c', 't'});
        hdlr.resize(hdlr.size() + 13, 0);
        Bytes body = FullBox("hdlr", 0, hdlr);
        for (const Bytes& box : {FullBox("pitm", 0, {0, 1}), FullBox("iinf", 0, iinf),
                                 FullBox("iref", 0, Box("dimg", dimg)),
                                 Box("iprp",
                                     [&] {
                                         Bytes iprp = Box("ipco", ipco);
                                         const Bytes map =
                                             FullBox("ipma", 1, ipma);  // flags 1: 15-bit indices
                                         iprp.insert(iprp.end(), map.begin(), map.end());
                                         return iprp;
                                     }()),
                                 FullBox("iloc", 0, iloc)})
            body.insert(body.end(), box.begin(), box.end());
        return FullBox("meta", 0, body);
    };
    const Bytes ftyp =
        Box("ftyp", {'h', 'e', 'i', 'c', 0, 0, 0, 0, 'm', 'i', 'f', '1', 'h', 'e', 'i', 'c'});
    const std::size_t mdatStart = ftyp.size() + meta(0).size() + 8;
    Bytes file = ftyp;
    const Bytes metaBox = meta(mdatStart);
    file.insert(file.end(), metaBox.begin(), metaBox.end());
    const Bytes mdatBox = Box("mdat", mdat);
    file.insert(file.end(), mdatBox.begin(), mdatBox.end());
    return file;
}

}  // namespace test

namespace test {

// picture as such a grid, a tile reaching past the canvas repeating its last pixels, as encoders
// pad.
inline std::vector<std::uint8_t> GridHeic(const QImage& picture, int tileSize,
                                          int quarterTurns = 0) {
    return GridHeic(
        picture.width(), picture.height(), tileSize,
        [&](int column, int row) {
            QImage tile(tileSize, tileSize, QImage::Format_RGB32);
            for (int y = 0; y < tileSize; ++y)
                for (int x = 0; x < tileSize; ++x)
                    tile.setPixel(
                        x, y,
                        picture.pixel(std::min(column * tileSize + x, picture.width() - 1),
                                      std::min(row * tileSize + y, picture.height() - 1)));
            return tile;
        },
        quarterTurns);
}

}  // namespace test
