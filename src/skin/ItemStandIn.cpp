#include "skin/ItemStandIn.h"

#include <QHelpEvent>
#include <QToolTip>

#include "skin/StandInAccessible.h"

namespace {

constexpr char kToolTipsName[] = "StandInToolTips";

// The pointer never reaches a stand-in, so its owner's tooltip requests are answered here
// with the name of the stand-in under the pointer.
class StandInToolTips : public QObject {
public:
    explicit StandInToolTips(QWidget* owner) : QObject(owner) {
        setObjectName(kToolTipsName);
        owner->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip) return false;
        auto* owner = static_cast<QWidget*>(watched);
        const QPoint point = static_cast<QHelpEvent*>(event)->pos();
        for (QObject* child : owner->children()) {
            auto* standIn = qobject_cast<ItemStandIn*>(child);
            if (standIn == nullptr || standIn->toolTip().isEmpty() ||
                !standIn->geometry().contains(point))
                continue;
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), standIn->toolTip(),
                               owner, standIn->geometry());
            return true;
        }
        return false;
    }
};

}  // namespace

ItemStandIn::ItemStandIn(QWidget* owner, QAccessible::Role role, const QRect& rect,
                         bool showsToolTip)
    : QWidget(owner), m_role(role), m_showsToolTip(showsToolTip) {
    InstallStandInAccessibility();
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(rect);
    if (showsToolTip &&
        owner->findChild<QObject*>(kToolTipsName, Qt::FindDirectChildrenOnly) == nullptr)
        new StandInToolTips(owner);
}

ItemStandIn::~ItemStandIn() = default;

void ItemStandIn::SetName(const QString& name) {
    setAccessibleName(name);
    if (m_showsToolTip) setToolTip(name);
}
