#include "Skin.h"

#include "Lettering.h"
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
    // TRANSLATORS: the labels painted on the skin's pictures, at build time. Word a label
    // shorter than the same text elsewhere where it must: the build fails when one does not
    // fit. The section tabs are 64 pixels wide, New Game 96, Add and Delete 80 with an icon.
    {layout::kGameButton, PaintedLabel("painted label", "Game"), SectionIcon::Game},
    {layout::kResButton, PaintedLabel("painted label", "Pictures"), SectionIcon::Pictures},
    {layout::kScoreButton, PaintedLabel("painted label", "Scores"), SectionIcon::Scores},
    {layout::kAboutButton, PaintedLabel("painted label", "About"), SectionIcon::About},
};

}  // namespace

NamedImages PaintSkin(int scale, const Lettering& lettering) {
    const QImage background = PaintBackground(scale);
    NamedImages skin;
    for (const SectionButton& section : kSections) {
        const layout::Edges& rect = section.button.rect;
        for (ButtonState state : kStates) {
            const char* name = PictureName(section.button, state);
            skin.push_back({name,
                            PaintSectionButton(background, TopLeft(rect), SizeOf(rect),
                                               section.label, section.icon, state, lettering, name),
                            true});
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
    } actions[] = {
        {layout::kNewButton, PaintedLabel("painted label", "New Game"), ActionIcon::None},
        {layout::kAddButton, PaintedLabel("painted label", "Add"), ActionIcon::Plus},
        {layout::kDelButton, PaintedLabel("painted label", "Delete"), ActionIcon::Bin}};
    for (const auto& action : actions) {
        for (ButtonState state : kStates) {
            const char* name = PictureName(action.button, state);
            skin.push_back({name,
                            PaintActionButton(SizeOf(action.button.rect), action.label, action.icon,
                                              state, scale, lettering, name),
                            true});
        }
    }

    skin.push_back({layout::kAboutImage.picture,
                    PaintAboutCard(SizeOf(layout::kAboutImage.rect), scale, lettering,
                                   layout::kAboutImage.picture),
                    true});
    // The program's name and its addresses are the same in every language.
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
