#include "skin/SkinButtons.h"

#include <QAccessible>

#include "core/state/AppState.h"
#include "platform/QtTranslation.h"
#include "skin/ButtonStandIn.h"
#include "skin/EdgeRect.h"
#include "skin/PackageImage.h"

namespace {

QAccessible::Role RoleOf(SkinButtons::Kind kind) {
    return kind == SkinButtons::Kind::Link ? QAccessible::Link : QAccessible::Button;
}

}  // namespace

// The stand-ins look at their buttons: they go first.
SkinButtons::~SkinButtons() {
    for (Entry& entry : m_buttons) delete entry.standIn.data();
}

ImageButton& SkinButtons::Add(int id, const layout::ButtonLayout& layout, Kind kind) {
    auto owned = std::make_unique<ImageButton>();
    ImageButton& button = *owned;
    button.SetUp(m_owner, kind == Kind::Latching, id, {}, nullptr, nullptr, nullptr);
    SetUp(button, id, layout);
    auto* standIn =
        new ButtonStandIn(m_owner, button, RoleOf(kind), [this, &button] { Click(button); });
    standIn->SetName(QTr(layout.label));
    button.SetSelectionListener([standIn] {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(standIn, changed);
        QAccessible::updateAccessibility(&event);
    });
    m_buttons.push_back({std::move(owned), standIn});
    return button;
}

void SkinButtons::SetUp(ImageButton& button, int id, const layout::ButtonLayout& layout) const {
    button.SetUp(m_owner, button.Latching(), id, ToQRect(layout.rect), GetSkinImage(layout.normal),
                 GetSkinImage(layout.mouseOn), GetSkinImage(layout.mouseDown));
    button.SetOutline(layout.outline);
}

void SkinButtons::Draw(QPainter& painter) const {
    for (const Entry& entry : m_buttons) entry.button->Draw(painter);
}

void SkinButtons::OnMouseMove(const QPoint& point) {
    for (const Entry& entry : m_buttons) entry.button->OnMouseMove(point);
}

bool SkinButtons::OnLButtonDown(const QPoint& point) {
    bool onButton = false;
    for (const Entry& entry : m_buttons) onButton = entry.button->OnLButtonDown(point) || onButton;
    return onButton;
}

ImageButton* SkinButtons::OnLButtonUp(const QPoint& point) {
    ImageButton* clicked = nullptr;
    for (const Entry& entry : m_buttons) {
        if (!entry.button->OnLButtonUp(point)) continue;
        clicked = entry.button.get();
        ReleaseOthers(*clicked);
    }
    return clicked;
}

bool SkinButtons::Click(int id) {
    for (const Entry& entry : m_buttons) {
        if (entry.button->Id() == id) return Click(*entry.button);
    }
    return false;
}

bool SkinButtons::Click(ImageButton& button) {
    if (!button.Click()) return false;
    ReleaseOthers(button);
    return true;
}

void SkinButtons::ReleaseOthers(const ImageButton& clicked) {
    if (!clicked.Latching()) return;
    for (const Entry& entry : m_buttons) {
        if (entry.button.get() != &clicked) entry.button->Deselect();
    }
}
