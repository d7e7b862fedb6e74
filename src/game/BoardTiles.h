#pragma once

#include <QImage>
#include <vector>

class QPainter;

// The picture cut into the tiles of one board size, each at the exact size of every cell it
// can be drawn into, its separator included, so that a frame is only unscaled copies. Cutting
// stretches a source of 400 / cols x 300 / rows pixels into a cell one pixel wider or taller
// where the division leaves a remainder, nearest pixel, exactly as a stretched copy would.
class BoardTiles {
public:
    // Cuts picture (400 x 300) into cols x rows tiles; lineColor paints each tile's last
    // column and last row.
    void Cut(const QImage& picture, int cols, int rows, QRgb lineColor);
    void Clear();
    bool IsCutFor(int cols, int rows) const;

    // Draws the tile with that id (home row x 10 + home column) into the cell at (row, col).
    void Draw(QPainter& painter, int tile, int row, int col) const;

private:
    int Left(int col) const;
    int Top(int row) const;
    // Index of a cell's width or height among the (at most two) sizes cells have.
    static int SizeIndex(const std::vector<int>& sizes, int size);

    int m_cols = 0;
    int m_rows = 0;
    std::vector<int> m_widths;   // the distinct cell widths
    std::vector<int> m_heights;  // the distinct cell heights
    // Per tile (home row x cols + home column), per width, per height.
    std::vector<QImage> m_tiles;
};
