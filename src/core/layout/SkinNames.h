#pragma once

#include <array>

// One picture the windows look up in Skin.dat, with the size its rectangle gives it.
struct RequiredSkinImage {
    const char* name;
    int width;
    int height;
};

// Every picture a complete skin holds. A button's pictures are drawn at their own size
// from the top-left of the button, so a picture of another size spills or leaves a gap.
inline constexpr std::array<RequiredSkinImage, 34> kRequiredSkinImages{{
    // Main window: section buttons, minimise and close, title, background.
    {"GameNormal.jpg", 64, 38},
    {"GameMouseOn.jpg", 64, 38},
    {"GameMouseDown.jpg", 64, 38},
    {"ResNormal.jpg", 64, 38},
    {"ResMouseOn.jpg", 64, 38},
    {"ResMouseDown.jpg", 64, 38},
    {"ScoreNormal.jpg", 64, 38},
    {"ScoreMouseOn.jpg", 64, 38},
    {"ScoreMouseDown.jpg", 64, 38},
    {"AboutNormal.jpg", 64, 38},
    {"AboutMouseOn.jpg", 64, 38},
    {"AboutMouseDown.jpg", 64, 38},
    {"MinNormal.jpg", 18, 19},
    {"MinMouseOn.jpg", 18, 19},
    {"MinMouseDown.jpg", 18, 19},
    {"CloseNormal.jpg", 18, 19},
    {"CloseMouseOn.jpg", 18, 19},
    {"CloseMouseDown.jpg", 18, 19},
    {"RegTitle.jpg", 103, 17},
    {"CorvalinBg.jpg", 634, 373},
    // Game panel.
    {"NewNormal.jpg", 96, 32},
    {"NewMouseOn.jpg", 96, 32},
    {"NewMouseDown.jpg", 96, 32},
    // Picture library panel.
    {"AddNormal.jpg", 80, 32},
    {"AddMouseOn.jpg", 80, 32},
    {"AddMouseDown.jpg", 80, 32},
    {"DelNormal.jpg", 80, 32},
    {"DelMouseOn.jpg", 80, 32},
    {"DelMouseDown.jpg", 80, 32},
    // About panel.
    {"About.jpg", 136, 76},
    {"EMailNormal.jpg", 243, 22},
    {"EMailMouseOn.jpg", 243, 22},
    {"WWWNormal.jpg", 243, 22},
    {"WWWMouseOn.jpg", 243, 22},
}};
