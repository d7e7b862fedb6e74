#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "core/text/Translation.h"

// Where everything stands, in fixed pixels, for the windows, the skin check and the skin
// generator alike. Rectangles are in the coordinates of the window that owns them.
namespace layout {

struct Size {
    int width;
    int height;
};

// Left, top, right, bottom; right and bottom exclusive.
struct Edges {
    int left;
    int top;
    int right;
    int bottom;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
};

struct Rgb {
    int red;
    int green;
    int blue;
};

// The outline a button's pictures draw inside its rectangle, which its focus ring follows: a
// rectangle inset from the button's edges by inset (a negative inset runs on past the button,
// where it is not seen), its corners rounded with radius.
struct ButtonOutline {
    Edges inset;
    int radius;
};

// A picture button: its rectangle, the skin pictures of its three looks and the label a
// player reads on it, which is also its name for assistive technology and its tooltip. A
// button draws its picture at the picture's own size, so each picture is as large as the
// rectangle.
struct ButtonLayout {
    Edges rect;
    const char* normal;
    const char* mouseOn;
    const char* mouseDown;
    const char* label;
    ButtonOutline outline{{0, 0, 0, 0}, 0};
};

// The outlines of the default skin's buttons: the section tabs, rounded at the top only; the
// caption buttons; the raised action buttons with their shadow below; the links' hover box.
inline constexpr ButtonOutline kTabOutline{{0, 2, 0, -8}, 6};
inline constexpr ButtonOutline kCaptionOutline{{0, 0, 0, 0}, 4};
inline constexpr ButtonOutline kActionOutline{{1, 1, 1, 2}, 7};
inline constexpr ButtonOutline kLinkOutline{{0, 0, 0, 0}, 5};

// A picture drawn stretched into a rectangle.
struct HolderLayout {
    Edges rect;
    const char* picture;
};

// A puzzle picture, the board, the library's preview.
inline constexpr Size kPictureSize{400, 300};
// The solid background of the game, picture library, score and about panels.
inline constexpr Rgb kPanelFill{54, 106, 179};

// Main window.
inline constexpr Edges kWindowRect{0, 0, 634, 373};
// The content area, in which exactly one panel is shown.
inline constexpr Edges kContentRect{7, 63, 627, 363};
inline constexpr Edges kHiddenRect{0, 0, 0, 0};
inline constexpr ButtonLayout kGameButton{
    {7, 25, 71, 63},     "GameNormal.jpg", "GameMouseOn.jpg",
    "GameMouseDown.jpg", TrMark("Game"),   kTabOutline,
};
inline constexpr ButtonLayout kResButton{
    {72, 25, 136, 63},  "ResNormal.jpg",    "ResMouseOn.jpg",
    "ResMouseDown.jpg", TrMark("Pictures"), kTabOutline,
};
inline constexpr ButtonLayout kScoreButton{
    {137, 25, 201, 63},   "ScoreNormal.jpg", "ScoreMouseOn.jpg",
    "ScoreMouseDown.jpg", TrMark("Scores"),  kTabOutline,
};
inline constexpr ButtonLayout kAboutButton{
    {202, 25, 266, 63},   "AboutNormal.jpg", "AboutMouseOn.jpg",
    "AboutMouseDown.jpg", TrMark("About"),   kTabOutline,
};
inline constexpr ButtonLayout kMinButton{
    {588, 4, 606, 23},  "MinNormal.jpg",    "MinMouseOn.jpg",
    "MinMouseDown.jpg", TrMark("Minimize"), kCaptionOutline,
};
inline constexpr ButtonLayout kCloseButton{
    {609, 4, 627, 23},    "CloseNormal.jpg", "CloseMouseOn.jpg",
    "CloseMouseDown.jpg", TrMark("Close"),   kCaptionOutline,
};
inline constexpr HolderLayout kTitle{{8, 4, 111, 21}, "RegTitle.jpg"};
inline constexpr HolderLayout kBackground{kWindowRect, "CorvalinBg.jpg"};

// Game panel.
inline constexpr Edges kBoardRect{0, 0, kPictureSize.width, kPictureSize.height};
inline constexpr Edges kThumbnailRect{420, 0, 620, 150};
inline constexpr Edges kStepsRect{472, 170, 511, 193};
inline constexpr Edges kSecondsRect{530, 170, 569, 193};
inline constexpr ButtonLayout kNewButton{
    {472, 248, 568, 280}, "NewNormal.jpg",    "NewMouseOn.jpg",
    "NewMouseDown.jpg",   TrMark("New Game"), kActionOutline,
};

// Picture library panel. A drop-down's rectangle takes its open list too.
inline constexpr Edges kPreviewRect = kBoardRect;
inline constexpr Edges kLibrarySizeComboRect{420, 20, 600, 150};
inline constexpr Edges kLibraryPictureListRect{420, 60, 600, 230};
inline constexpr ButtonLayout kAddButton{
    {420, 250, 500, 282}, "AddNormal.jpg", "AddMouseOn.jpg",
    "AddMouseDown.jpg",   TrMark("Add"),   kActionOutline,
};
inline constexpr ButtonLayout kDelButton{
    {520, 250, 600, 282}, "DelNormal.jpg",  "DelMouseOn.jpg",
    "DelMouseDown.jpg",   TrMark("Delete"), kActionOutline,
};

// Score panel.
inline constexpr Edges kSortComboRect{20, 20, 200, 150};
inline constexpr Edges kScoreSizeComboRect{20, 60, 200, 190};
inline constexpr Edges kScorePictureListRect{20, 100, 200, 280};
inline constexpr Edges kScoreListRect{220, 20, 600, 280};

// About panel. The links look the same pressed as hovered; each is labelled with the address
// its pictures show.
inline constexpr HolderLayout kAboutImage{{10, 10, 146, 86}, "About.jpg"};
inline constexpr ButtonLayout kEmailButton{
    {18, 87, 261, 109}, "EMailNormal.jpg",          "EMailMouseOn.jpg",
    "EMailMouseOn.jpg", "support@corvalin.example", kLinkOutline,
};
inline constexpr ButtonLayout kWebButton{
    {18, 110, 261, 132},        "WWWNormal.jpg", "WWWMouseOn.jpg", "WWWMouseOn.jpg",
    "https://corvalin.example", kLinkOutline,
};

// One picture of the skin: its name, its rectangle in its owner and its size.
struct SkinPicture {
    const char* name;
    Edges rect;

    constexpr Size PictureSize() const { return {rect.Width(), rect.Height()}; }
};

inline constexpr std::size_t kSkinPictureCount = 34;

// Collects each picture once, in the order the owners are added.
class SkinPictureList {
public:
    constexpr void Add(const ButtonLayout& button) {
        Add(button.normal, button.rect);
        Add(button.mouseOn, button.rect);
        Add(button.mouseDown, button.rect);
    }
    constexpr void Add(const HolderLayout& holder) { Add(holder.picture, holder.rect); }

    // Fails to compile in a constant expression when the count is not kSkinPictureCount.
    constexpr std::array<SkinPicture, kSkinPictureCount> Pictures() const {
        if (m_count != kSkinPictureCount) throw "kSkinPictureCount is not the number of pictures";
        return m_pictures;
    }

private:
    constexpr void Add(const char* name, const Edges& rect) {
        for (std::size_t i = 0; i < m_count; ++i) {
            if (std::string_view(m_pictures[i].name) == name) return;
        }
        if (m_count == kSkinPictureCount) throw "more pictures than kSkinPictureCount";
        m_pictures[m_count++] = {name, rect};
    }

    std::array<SkinPicture, kSkinPictureCount> m_pictures{};
    std::size_t m_count = 0;
};

// Every picture a complete skin holds, once each, by owner: main window, game panel, picture
// library panel, about panel.
inline constexpr std::array<SkinPicture, kSkinPictureCount> kSkinPictures = [] {
    SkinPictureList list;
    for (const ButtonLayout& button :
         {kGameButton, kResButton, kScoreButton, kAboutButton, kMinButton, kCloseButton})
        list.Add(button);
    list.Add(kTitle);
    list.Add(kBackground);
    list.Add(kNewButton);
    list.Add(kAddButton);
    list.Add(kDelButton);
    list.Add(kAboutImage);
    list.Add(kEmailButton);
    list.Add(kWebButton);
    return list.Pictures();
}();

}  // namespace layout
