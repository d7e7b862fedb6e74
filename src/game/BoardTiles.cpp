#include "game/BoardTiles.h"

#include <QPainter>
#include <algorithm>

#include "core/board/PuzzleBoard.h"

namespace {

constexpr int kWidth = PuzzleBoard::kAreaWidth;
constexpr int kHeight = PuzzleBoard::kAreaHeight;

std::vector<int> DistinctCellSizes(int area, int cells) {
    std::vector<int> sizes;
    for (int i = 0; i < cells; ++i) {
        const int size = (i + 1) * area / cells - i * area / cells;
        if (std::find(sizes.begin(), sizes.end(), size) == sizes.end()) sizes.push_back(size);
    }
    return sizes;
}

}  // namespace

int BoardTiles::Left(int col) const { return col * kWidth / m_cols; }

int BoardTiles::Top(int row) const { return row * kHeight / m_rows; }

int BoardTiles::SizeIndex(const std::vector<int>& sizes, int size) {
    return static_cast<int>(std::find(sizes.begin(), sizes.end(), size) - sizes.begin());
}

void BoardTiles::Cut(const QImage& picture, int cols, int rows, QRgb lineColor) {
    m_cols = cols;
    m_rows = rows;
    m_widths = DistinctCellSizes(kWidth, cols);
    m_heights = DistinctCellSizes(kHeight, rows);
    m_tiles.clear();
    m_tiles.reserve(static_cast<std::size_t>(cols * rows) * m_widths.size() * m_heights.size());
    const QRect source0(0, 0, kWidth / cols, kHeight / rows);
    for (int home = 0; home < cols * rows; ++home) {
        const QRect source = source0.translated(Left(home % cols), Top(home / cols));
        for (int width : m_widths) {
            for (int height : m_heights) {
                QImage tile(width, height, QImage::Format_RGB32);
                QPainter painter(&tile);
                painter.drawImage(QRect(0, 0, width, height), picture, source);
                painter.fillRect(width - 1, 0, 1, height, QColor(lineColor));
                painter.fillRect(0, height - 1, width, 1, QColor(lineColor));
                m_tiles.push_back(std::move(tile));
            }
        }
    }
}

void BoardTiles::Clear() {
    m_cols = 0;
    m_rows = 0;
    m_tiles.clear();
}

bool BoardTiles::IsCutFor(int cols, int rows) const { return m_cols == cols && m_rows == rows; }

void BoardTiles::Draw(QPainter& painter, int tile, int row, int col) const {
    const int x0 = Left(col);
    const int y0 = Top(row);
    const int width = SizeIndex(m_widths, Left(col + 1) - x0);
    const int height = SizeIndex(m_heights, Top(row + 1) - y0);
    const int home = tile / 10 * m_cols + tile % 10;
    const auto index = static_cast<std::size_t>((home * static_cast<int>(m_widths.size()) + width) *
                                                    static_cast<int>(m_heights.size()) +
                                                height);
    painter.drawImage(x0, y0, m_tiles[index]);
}
