#pragma once

#include <QAccessible>
#include <QWidget>

// A child widget standing over something its owner draws: a picture button, a counter, a
// picture. It never takes the mouse, which stays with the owner, and paints nothing of its
// own. It gives the drawn item what only a widget has: a name for assistive technology and,
// where asked, the same name as a tooltip.
class ItemStandIn : public QWidget {
    Q_OBJECT

public:
    // rect: the item's rectangle in the owner's coordinates.
    ItemStandIn(QWidget* owner, QAccessible::Role role, const QRect& rect, bool showsToolTip);
    ~ItemStandIn() override;

    // The accessible name, and the tooltip where the item shows one.
    void SetName(const QString& name);

    QAccessible::Role Role() const { return m_role; }

private:
    QAccessible::Role m_role;
    bool m_showsToolTip;
};
