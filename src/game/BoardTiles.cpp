#include "game/BoardTiles.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/board/PuzzleBoard.h"

namespace {

// Where each of cells cells starts along a logical length of area, and where the last ends.
std::vector<int> DeviceEdges(int area, int cells, qreal ratio) {
    std::vector<int> edges;
    for (int i = 0; i <= cells; ++i) {
        edges.push_back(static_cast<int>(std::lround(i * area / cells * ratio)));
    }
    return edges;
}

std::vector<int> DistinctCellSizes(const std::vector<int>& edges) {
    std::vector<int> sizes;
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        const int size = edges[i + 1] - edges[i];
        if (std::find(sizes.begin(), sizes.end(), size) == sizes.end()) sizes.push_back(size);
    }
    return sizes;
}

}  // namespace

int BoardTiles::SizeIndex(const std::vector<int>& sizes, int size) {
    return static_cast<int>(std::find(sizes.begin(), sizes.end(), size) - sizes.begin());
}

void BoardTiles::Cut(const QImage& picture, int cols, int rows, qreal ratio, QRgb lineColor) {
    m_cols = cols;
    m_rows = rows;
    m_ratio = ratio;
    m_xEdges = DeviceEdges(PuzzleBoard::kAreaWidth, cols, ratio);
    m_yEdges = DeviceEdges(PuzzleBoard::kAreaHeight, rows, ratio);
    m_widths = DistinctCellSizes(m_xEdges);
    m_heights = DistinctCellSizes(m_yEdges);
    m_tiles.clear();
    m_tiles.reserve(static_cast<std::size_t>(cols * rows) * m_widths.size() * m_heights.size());
    const QSizeF source(*std::min_element(m_widths.begin(), m_widths.end()) / ratio,
                        *std::min_element(m_heights.begin(), m_heights.end()) / ratio);
    for (int home = 0; home < cols * rows; ++home) {
        const QRectF from(QPointF(m_xEdges[home % cols], m_yEdges[home / cols]) / ratio, source);
        for (int width : m_widths) {
            for (int height : m_heights) {
                QImage tile(width, height, QImage::Format_RGB32);
                QPainter painter(&tile);
                // Straight from the 400 x 300 picture: a copy at device size would cost more
                // memory than all the tiles.
                painter.setRenderHint(QPainter::SmoothPixmapTransform, ratio != 1);
                painter.drawImage(QRectF(0, 0, width, height), picture, from);
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

bool BoardTiles::IsCutFor(int cols, int rows, qreal ratio) const {
    return m_cols == cols && m_rows == rows && m_ratio == ratio;
}

QRect BoardTiles::CellRect(int row, int col) const {
    return QRect(QPoint(m_xEdges[col], m_yEdges[row]),
                 QPoint(m_xEdges[col + 1] - 1, m_yEdges[row + 1] - 1));
}

void BoardTiles::Draw(QPainter& painter, int tile, int row, int col) const {
    const QRect cell = CellRect(row, col);
    const int width = SizeIndex(m_widths, cell.width());
    const int height = SizeIndex(m_heights, cell.height());
    const int home = tile / 10 * m_cols + tile % 10;
    const auto index = static_cast<std::size_t>((home * static_cast<int>(m_widths.size()) + width) *
                                                    static_cast<int>(m_heights.size()) +
                                                height);
    painter.drawImage(cell.topLeft(), m_tiles[index]);
}
