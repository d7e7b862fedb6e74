#include "skin/ReadingOrder.h"

#include <QWidget>
#include <algorithm>
#include <tuple>
#include <vector>

namespace {

bool TakesTabFocus(const QWidget* widget) {
    return (widget->focusPolicy() & Qt::TabFocus) != 0 && widget->isEnabled();
}

// A part of a control that takes the focus itself.
bool InsideControl(const QWidget* widget, const QWidget* window) {
    for (const QWidget* p = widget->parentWidget(); p != nullptr && p != window;
         p = p->parentWidget()) {
        if (TakesTabFocus(p)) return true;
    }
    return false;
}

std::tuple<int, int> PlaceOf(const QWidget* widget, const QWidget* window) {
    const QPoint topLeft = widget->mapTo(window, QPoint(0, 0));
    return {topLeft.y(), topLeft.x()};
}

}  // namespace

bool IsShown(const QWidget* widget) {
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (w->size().isEmpty()) return false;
        if (w->isWindow()) break;
    }
    return true;
}

QWidget* NextInReadingOrder(QWidget* window, const QWidget* from, bool forward) {
    std::vector<QWidget*> controls;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->isWindow() || !TakesTabFocus(widget) || !widget->isVisibleTo(window) ||
            !IsShown(widget) || InsideControl(widget, window))
            continue;
        controls.push_back(widget);
    }
    if (controls.empty()) return nullptr;
    std::ranges::sort(controls, {}, [window](const QWidget* w) { return PlaceOf(w, window); });

    if (from == nullptr) return forward ? controls.front() : controls.back();
    const auto here = PlaceOf(from, window);
    if (forward) {
        const auto next = std::ranges::find_if(
            controls, [&](const QWidget* w) { return PlaceOf(w, window) > here; });
        return next != controls.end() ? *next : controls.front();
    }
    const auto previous =
        std::ranges::find_if(controls.rbegin(), controls.rend(),
                             [&](const QWidget* w) { return PlaceOf(w, window) < here; });
    return previous != controls.rend() ? *previous : controls.back();
}
