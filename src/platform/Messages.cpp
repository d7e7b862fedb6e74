#include "platform/Messages.h"

#include <QCoreApplication>

MessageEvent::MessageEvent(unsigned message, quintptr first, qintptr second)
    : QEvent(EventType()), m_message(message), m_first(first), m_second(second) {}

QEvent::Type MessageEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void PostMessage(QObject* to, unsigned message, quintptr first, qintptr second) {
    if (to == nullptr) return;
    // Qt takes ownership of a posted event and deletes it after delivery.
    QCoreApplication::postEvent(to, new MessageEvent(message, first, second));
}

qintptr SendMessage(QObject* to, unsigned message, quintptr first, qintptr second) {
    if (to == nullptr) return 0;
    MessageEvent event(message, first, second);
    QCoreApplication::sendEvent(to, &event);
    return event.Result();
}
