#include "skin/SkinButtons.h"

#include "core/state/AppState.h"
#include "skin/EdgeRect.h"
#include "skin/PackageImage.h"

ImageButton& SkinButtons::Add(int id, const layout::ButtonLayout& layout, bool latching) {
    ImageButton& button = *m_buttons.emplace_back(std::make_unique<ImageButton>());
    SetUp(button, id, layout, latching);
    return button;
}

void SkinButtons::SetUp(ImageButton& button, int id, const layout::ButtonLayout& layout,
                        bool latching) const {
    const ImagePackage& skin = App()->m_skinPackage;
    button.SetUp(m_owner, latching, id, ToQRect(layout.rect), GetImage(skin, layout.normal),
                 GetImage(skin, layout.mouseOn), GetImage(skin, layout.mouseDown));
}

void SkinButtons::Draw(QPainter& painter) const {
    for (const auto& button : m_buttons) button->Draw(painter);
}

void SkinButtons::OnMouseMove(const QPoint& point) {
    for (const auto& button : m_buttons) button->OnMouseMove(point);
}

bool SkinButtons::OnLButtonDown(const QPoint& point) {
    bool onButton = false;
    for (const auto& button : m_buttons) onButton = button->OnLButtonDown(point) || onButton;
    return onButton;
}

ImageButton* SkinButtons::OnLButtonUp(const QPoint& point) {
    ImageButton* clicked = nullptr;
    for (const auto& button : m_buttons) {
        if (button->OnLButtonUp(point)) clicked = button.get();
    }
    return clicked;
}
