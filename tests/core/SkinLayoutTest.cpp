#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/layout/SkinLayout.h"

namespace {

TEST(SkinLayoutTest, EveryPictureOnceInTheOrderCheckSkinReportsThem) {
    std::set<std::string> names;
    for (const layout::SkinPicture& picture : layout::kSkinPictures) names.insert(picture.name);
    EXPECT_EQ(names.size(), layout::kSkinPictures.size());
    EXPECT_STREQ(layout::kSkinPictures.front().name, "GameNormal.jpg");
    EXPECT_STREQ(layout::kSkinPictures[18].name, "RegTitle.jpg");
    EXPECT_STREQ(layout::kSkinPictures[19].name, "CorvalinBg.jpg");
    EXPECT_STREQ(layout::kSkinPictures.back().name, "WWWMouseOn.jpg");
}

// A picture is as large as the place it is drawn at.
TEST(SkinLayoutTest, PicturesTakeTheSizeOfTheirRectangle) {
    const struct {
        const char* name;
        int width;
        int height;
    } sizes[] = {{"ScoreMouseDown.jpg", 64, 38}, {"CloseNormal.jpg", 18, 19},
                 {"RegTitle.jpg", 103, 17},      {"CorvalinBg.jpg", 634, 373},
                 {"NewMouseOn.jpg", 96, 32},     {"DelNormal.jpg", 80, 32},
                 {"About.jpg", 136, 76},         {"EMailMouseOn.jpg", 243, 22}};
    for (const auto& expected : sizes) {
        SCOPED_TRACE(expected.name);
        int found = 0;
        for (const layout::SkinPicture& picture : layout::kSkinPictures) {
            if (std::string(picture.name) != expected.name) continue;
            ++found;
            EXPECT_EQ(picture.PictureSize().width, expected.width);
            EXPECT_EQ(picture.PictureSize().height, expected.height);
        }
        EXPECT_EQ(found, 1);
    }
}

// Right edges are exclusive: one pixel column between two section buttons is no button's.
TEST(SkinLayoutTest, SectionButtonsStandOnePixelApartOnTheContentArea) {
    const layout::ButtonLayout sections[] = {layout::kGameButton, layout::kResButton,
                                             layout::kScoreButton, layout::kAboutButton};
    for (std::size_t i = 0; i < std::size(sections); ++i) {
        EXPECT_EQ(sections[i].rect.bottom, layout::kContentRect.top);
        if (i > 0) {
            EXPECT_EQ(sections[i].rect.left, sections[i - 1].rect.right + 1);
        }
    }
    EXPECT_EQ(layout::kContentRect.Width(), 620);
    EXPECT_EQ(layout::kContentRect.Height(), layout::kPictureSize.height);
}

}  // namespace
