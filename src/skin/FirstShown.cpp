#include "skin/FirstShown.h"

#include <QEvent>
#include <QWidget>

namespace {

// Watches the panel's resizes until the first non-empty one, then runs its action and goes.
class FirstShownWatch : public QObject {
public:
    FirstShownWatch(QWidget* panel, QObject* owner, std::function<void()> action)
        : QObject(owner), m_panel(panel), m_action(std::move(action)) {
        panel->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_panel && event->type() == QEvent::Resize && !m_panel->size().isEmpty()) {
            m_panel->removeEventFilter(this);
            const std::function<void()> action = std::move(m_action);
            deleteLater();
            action();
        }
        return false;
    }

private:
    QWidget* m_panel;
    std::function<void()> m_action;
};

}  // namespace

void OnFirstShown(QWidget* panel, QObject* owner, std::function<void()> action) {
    if (!panel->size().isEmpty()) {
        action();
        return;
    }
    new FirstShownWatch(panel, owner, std::move(action));
}
