#include <gtest/gtest.h>

#include <string>

#include "core/board/GridSize.h"

namespace {

TEST(GridSizeTest, SixSizesInOfferedOrderWithUtf8Labels) {
    const int rows[] = {3, 4, 4, 5, 5, 6};
    const int cols[] = {4, 5, 6, 6, 7, 8};
    for (std::size_t i = 0; i < kGridSizes.size(); ++i) {
        EXPECT_EQ(kGridSizes[i].rows, rows[i]);
        EXPECT_EQ(kGridSizes[i].cols, cols[i]);
        // The multiplication sign is U+00D7, the bytes C3 97.
        EXPECT_EQ(std::string(kGridSizes[i].label),
                  std::to_string(rows[i]) + "(rows)\xC3\x97" + std::to_string(cols[i]) + "(cols)");
    }
}

TEST(GridSizeTest, IndexOfEachSizeAndNoneForOthers) {
    for (std::size_t i = 0; i < kGridSizes.size(); ++i)
        EXPECT_EQ(GridIndexOf(kGridSizes[i]), static_cast<int>(i));
    EXPECT_EQ(GridIndexOf({.rows = 4, .cols = 3}), -1);
    EXPECT_EQ(GridIndexOf({.rows = 6, .cols = 6}), -1);
    EXPECT_EQ(GridIndexOf({.rows = 0, .cols = 0}), -1);
}

}  // namespace
