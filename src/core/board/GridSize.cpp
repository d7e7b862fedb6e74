#include "core/board/GridSize.h"

int GridIndexOf(const GridSize& size) {
    for (std::size_t i = 0; i < kGridSizes.size(); ++i) {
        if (kGridSizes[i].rows == size.rows && kGridSizes[i].cols == size.cols)
            return static_cast<int>(i);
    }
    return -1;
}
