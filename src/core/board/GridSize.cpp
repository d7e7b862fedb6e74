#include "core/board/GridSize.h"

int GridIndexOf(int rows, int cols) {
    for (std::size_t i = 0; i < kGridSizes.size(); ++i) {
        if (kGridSizes[i].rows == rows && kGridSizes[i].cols == cols) return static_cast<int>(i);
    }
    return -1;
}
