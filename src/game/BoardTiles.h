#pragma once

#include <QImage>
#include <QRect>
#include <vector>

class QPainter;

// The picture cut into the tiles of one board size, each at the exact size of every cell it
// can be drawn into, its separator included, so that a frame is only unscaled copies. Everything
// is in device pixels: a cell's edges are the logical edges (400 / cols apart, whole pixels)
// times the device pixel ratio, rounded, so separators are one device pixel wide at any ratio.
// At a ratio of 1, cutting stretches a source of the narrowest cell's size into a cell one
// pixel wider or taller where the division leaves a remainder, nearest pixel, exactly as a
// stretched copy would; above it, each tile is stretched smoothly from the picture.
class BoardTiles {
public:
    // Cuts picture (the 400 x 300 area) into cols x rows tiles for ratio device pixels per
    // logical pixel; lineColor paints each tile's last column and last row.
    void Cut(const QImage& picture, int cols, int rows, qreal ratio, QRgb lineColor);
    void Clear();
    bool IsCutFor(int cols, int rows, qreal ratio) const;

    // Draws the tile with that id (home row x 10 + home column) into the cell at (row, col),
    // on a painter that draws one device pixel per unit.
    void Draw(QPainter& painter, int tile, int row, int col) const;
    // The cell at (row, col) in device pixels.
    QRect CellRect(int row, int col) const;

private:
    // Index of a cell's width or height among the (few) sizes cells have.
    static int SizeIndex(const std::vector<int>& sizes, int size);

    int m_cols = 0;
    int m_rows = 0;
    qreal m_ratio = 0;
    std::vector<int> m_xEdges;   // cols + 1 device columns where cells start
    std::vector<int> m_yEdges;   // rows + 1 device rows where cells start
    std::vector<int> m_widths;   // the distinct cell widths
    std::vector<int> m_heights;  // the distinct cell heights
    // Per tile (home row x cols + home column), per width, per height.
    std::vector<QImage> m_tiles;
};
