#include "Skin.h"

#include "SkinParts.h"

namespace {

constexpr ButtonState kStates[] = {ButtonState::Normal, ButtonState::MouseOn,
                                   ButtonState::MouseDown};

std::string PictureName(const char* button, ButtonState state) {
    switch (state) {
        case ButtonState::Normal:
            return std::string(button) + "Normal.jpg";
        case ButtonState::MouseOn:
            return std::string(button) + "MouseOn.jpg";
        case ButtonState::MouseDown:
            return std::string(button) + "MouseDown.jpg";
    }
    return {};
}

struct SectionButton {
    const char* name;
    const char* label;
    SectionIcon icon;
    QPoint topLeft;
};

// Where the main window puts its buttons and title, so each is painted over the
// background it covers.
constexpr SectionButton kSections[] = {
    {"Game", "Game", SectionIcon::Game, {7, 25}},
    {"Res", "Pictures", SectionIcon::Pictures, {72, 25}},
    {"Score", "Scores", SectionIcon::Scores, {137, 25}},
    {"About", "About", SectionIcon::About, {202, 25}},
};
constexpr QSize kSectionSize(64, 38);
constexpr QPoint kMinimise(588, 4);
constexpr QPoint kClose(609, 4);
constexpr QSize kCaptionSize(18, 19);
constexpr QPoint kTitle(8, 4);
constexpr QSize kTitleSize(103, 17);

constexpr QSize kNewSize(96, 32);
constexpr QSize kLibraryButtonSize(80, 32);
constexpr QSize kLinkSize(243, 22);
constexpr QSize kAboutSize(136, 76);

}  // namespace

NamedImages PaintSkin() {
    const QImage background = PaintBackground();
    NamedImages skin;
    for (const SectionButton& section : kSections) {
        for (ButtonState state : kStates) {
            skin.push_back(
                {PictureName(section.name, state),
                 PaintSectionButton(background, section.topLeft, kSectionSize,
                                    QString::fromLatin1(section.label), section.icon, state)});
        }
    }
    for (ButtonState state : kStates) {
        skin.push_back(
            {PictureName("Min", state), PaintCaptionButton(background, kMinimise, kCaptionSize,
                                                           CaptionGlyph::Minimise, state)});
    }
    for (ButtonState state : kStates) {
        skin.push_back(
            {PictureName("Close", state),
             PaintCaptionButton(background, kClose, kCaptionSize, CaptionGlyph::Close, state)});
    }
    skin.push_back({"RegTitle.jpg", PaintTitle(background, kTitle, kTitleSize)});
    skin.push_back({"CorvalinBg.jpg", background});

    for (ButtonState state : kStates) {
        skin.push_back(
            {PictureName("New", state),
             PaintActionButton(kNewSize, QStringLiteral("New Game"), ActionIcon::None, state)});
    }
    for (ButtonState state : kStates) {
        skin.push_back(
            {PictureName("Add", state), PaintActionButton(kLibraryButtonSize, QStringLiteral("Add"),
                                                          ActionIcon::Plus, state)});
    }
    for (ButtonState state : kStates) {
        skin.push_back({PictureName("Del", state),
                        PaintActionButton(kLibraryButtonSize, QStringLiteral("Delete"),
                                          ActionIcon::Bin, state)});
    }

    skin.push_back({"About.jpg", PaintAboutCard(kAboutSize)});
    const QString mail = QStringLiteral("support@corvalin.example");
    const QString web = QStringLiteral("https://corvalin.example");
    skin.push_back({"EMailNormal.jpg", PaintLinkButton(kLinkSize, mail, LinkIcon::Mail, false)});
    skin.push_back({"EMailMouseOn.jpg", PaintLinkButton(kLinkSize, mail, LinkIcon::Mail, true)});
    skin.push_back({"WWWNormal.jpg", PaintLinkButton(kLinkSize, web, LinkIcon::Globe, false)});
    skin.push_back({"WWWMouseOn.jpg", PaintLinkButton(kLinkSize, web, LinkIcon::Globe, true)});
    return skin;
}
