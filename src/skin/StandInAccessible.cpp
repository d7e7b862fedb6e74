#include "skin/StandInAccessible.h"

#include "skin/ButtonStandIn.h"
#include "skin/ImageButton.h"
#include "skin/ReadingOrder.h"

namespace {

const ButtonStandIn* AsButton(QObject* object) { return qobject_cast<ButtonStandIn*>(object); }

QAccessibleInterface* StandInFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("ItemStandIn") && className != QLatin1String("ButtonStandIn"))
        return nullptr;
    auto* standIn = qobject_cast<ItemStandIn*>(object);
    return standIn != nullptr ? new StandInAccessible(standIn) : nullptr;
}

}  // namespace

StandInAccessible::StandInAccessible(ItemStandIn* standIn)
    : QAccessibleWidget(standIn, standIn->Role()) {}

QAccessible::State StandInAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    if (!IsShown(widget())) {
        state.invisible = true;
        state.offscreen = true;
    }
    if (const ButtonStandIn* button = AsButton(object()); button && button->Button().Latching()) {
        state.checkable = true;
        state.checked = button->Button().Selected();
    }
    return state;
}

QStringList StandInAccessible::actionNames() const {
    QStringList names = QAccessibleWidget::actionNames();
    if (AsButton(object()) != nullptr) names.prepend(pressAction());
    return names;
}

void StandInAccessible::doAction(const QString& actionName) {
    if (auto* button = qobject_cast<ButtonStandIn*>(object());
        button && actionName == pressAction()) {
        button->Press();
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

void InstallStandInAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(StandInFactory);
        return true;
    }();
    (void)installed;
}
