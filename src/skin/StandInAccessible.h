#pragma once

#include <QAccessibleWidget>

class ItemStandIn;

// What assistive technology reads of a stand-in: the drawn item's role and name; for a
// picture button also whether it can latch and is latched, and a press action that clicks it.
// A stand-in inside a hidden panel reports itself invisible.
class StandInAccessible : public QAccessibleWidget {
public:
    explicit StandInAccessible(ItemStandIn* standIn);

    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
};

// Registers the stand-ins' interfaces with Qt; any number of calls, registered once.
void InstallStandInAccessibility();
