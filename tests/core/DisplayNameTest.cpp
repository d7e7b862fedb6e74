#include <gtest/gtest.h>

#include "core/library/DisplayName.h"

namespace {

TEST(DisplayNameTest, DropsTheLastFourBytes) {
    EXPECT_EQ(DisplayName("Sea.jpg"), "Sea");
    EXPECT_EQ(DisplayName("Photo.bmp"), "Photo");
    EXPECT_EQ(DisplayName("a.b.jpeg"), "a.b.");
    EXPECT_EQ(DisplayName("abcde"), "a");
}

TEST(DisplayNameTest, CountsBytesNotCharacters) {
    EXPECT_EQ(DisplayName("\xC3\xA9t\xC3\xA9.jpg"), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(DisplayName("x\xE4\xB8\xAD\xE4"), "x");
}

TEST(DisplayNameTest, FourBytesOrFewerGiveNothing) {
    EXPECT_EQ(DisplayName(".jpg"), "");
    EXPECT_EQ(DisplayName("abc"), "");
    EXPECT_EQ(DisplayName(""), "");
}

}  // namespace
