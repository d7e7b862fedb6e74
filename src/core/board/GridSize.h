#pragma once

#include <array>

#include "core/text/Translation.h"

// The six board sizes, in the order the size boxes show and Score.dat stores them.
// Rows first, as everywhere: write GridSize{.rows = 5, .cols = 7} where the order matters.
struct GridSize {
    int rows;
    int cols;
    const char* label = "";  // UTF-8 English, translated where shown; empty outside the six
};

inline constexpr std::array<GridSize, 6> kGridSizes{{
    {3, 4, TrMark("3(rows)\u00d74(cols)")},
    {4, 5, TrMark("4(rows)\u00d75(cols)")},
    {4, 6, TrMark("4(rows)\u00d76(cols)")},
    {5, 6, TrMark("5(rows)\u00d76(cols)")},
    {5, 7, TrMark("5(rows)\u00d77(cols)")},
    {6, 8, TrMark("6(rows)\u00d78(cols)")},
}};

// The index of the size with these rows and columns, or -1 when there is none.
int GridIndexOf(const GridSize& size);
