#include "Skin.h"

#include "SkinParts.h"
#include "core/layout/SkinLayout.h"

namespace {

constexpr ButtonState kStates[] = {ButtonState::Normal, ButtonState::MouseOn,
                                   ButtonState::MouseDown};

const char* PictureName(const layout::ButtonLayout& button, ButtonState state) {
    switch (state) {
        case ButtonState::Normal:
            return button.normal;
        case ButtonState::MouseOn:
            return button.mouseOn;
        case ButtonState::MouseDown:
            return button.mouseDown;
    }
    return "";
}

QPoint TopLeft(const layout::Edges& rect) { return {rect.left, rect.top}; }
QSize SizeOf(const layout::Edges& rect) { return {rect.Width(), rect.Height()}; }

struct SectionButton {
    const layout::ButtonLayout& button;
    const char* label;
    SectionIcon icon;
};

// Painted over the background they cover, at the main window's places.
const SectionButton kSections[] = {
    {layout::kGameButton, "Game", SectionIcon::Game},
    {layout::kResButton, "Pictures", SectionIcon::Pictures},
    {layout::kScoreButton, "Scores", SectionIcon::Scores},
    {layout::kAboutButton, "About", SectionIcon::About},
};

}  // namespace

NamedImages PaintSkin(int scale) {
    const QImage background = PaintBackground(scale);
    NamedImages skin;
    for (const SectionButton& section : kSections) {
        const layout::Edges& rect = section.button.rect;
        for (ButtonState state : kStates) {
            skin.push_back(
                {PictureName(section.button, state),
                 PaintSectionButton(background, TopLeft(rect), SizeOf(rect),
                                    QString::fromLatin1(section.label), section.icon, state)});
        }
    }
    const struct {
        const layout::ButtonLayout& button;
        CaptionGlyph glyph;
    } captions[] = {{layout::kMinButton, CaptionGlyph::Minimise},
                    {layout::kCloseButton, CaptionGlyph::Close}};
    for (const auto& caption : captions) {
        const layout::Edges& rect = caption.button.rect;
        for (ButtonState state : kStates) {
            skin.push_back({PictureName(caption.button, state),
                            PaintCaptionButton(background, TopLeft(rect), SizeOf(rect),
                                               caption.glyph, state)});
        }
    }
    skin.push_back({layout::kTitle.picture, PaintTitle(background, TopLeft(layout::kTitle.rect),
                                                       SizeOf(layout::kTitle.rect))});
    skin.push_back({layout::kBackground.picture, background});

    const struct {
        const layout::ButtonLayout& button;
        const char* label;
        ActionIcon icon;
    } actions[] = {{layout::kNewButton, "New Game", ActionIcon::None},
                   {layout::kAddButton, "Add", ActionIcon::Plus},
                   {layout::kDelButton, "Delete", ActionIcon::Bin}};
    for (const auto& action : actions) {
        for (ButtonState state : kStates) {
            skin.push_back(
                {PictureName(action.button, state),
                 PaintActionButton(SizeOf(action.button.rect), QString::fromLatin1(action.label),
                                   action.icon, state, scale)});
        }
    }

    skin.push_back(
        {layout::kAboutImage.picture, PaintAboutCard(SizeOf(layout::kAboutImage.rect), scale)});
    const QString mail = QStringLiteral("support@corvalin.example");
    const QString web = QStringLiteral("https://corvalin.example");
    // A link's MouseOn picture is its pressed look too: two pictures each.
    const struct {
        const layout::ButtonLayout& button;
        const QString& text;
        LinkIcon icon;
    } links[] = {{layout::kEmailButton, mail, LinkIcon::Mail},
                 {layout::kWebButton, web, LinkIcon::Globe}};
    for (const auto& link : links) {
        const QSize size = SizeOf(link.button.rect);
        skin.push_back(
            {link.button.normal, PaintLinkButton(size, link.text, link.icon, false, scale)});
        skin.push_back(
            {link.button.mouseOn, PaintLinkButton(size, link.text, link.icon, true, scale)});
    }
    return skin;
}
