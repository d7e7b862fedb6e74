#pragma once

#include <QEvent>
#include <QObject>
#include <QtGlobal>

// The private notifications between our windows, numbered from the window system's first
// private message number 0x400. Each carries a first and a second parameter.
constexpr unsigned UM_BUTTONCLICK = 0x464;    // button id, 0; posted by an ImageButton to its owner
constexpr unsigned UM_LISTSELCHANGE = 0x465;  // selected index, 0; posted by a picture list
constexpr unsigned UM_LISTDBLCLK = 0x466;     // selected index, 0; posted by a picture list
constexpr unsigned UM_PLAYPICTURE = 0x467;    // 0, 0; posted by the picture library panel
constexpr unsigned UM_COMBOSELCHANGE = 0x468;  // selected index, 0; posted by a board size box
constexpr unsigned UM_TILESMOVED = 0x469;      // tiles moved, 0; sent by the board view
constexpr unsigned UM_PUZZLESOLVED = 0x46A;    // 0, 0; posted by the board view

// One notification travelling as a Qt event of our own registered type.
class MessageEvent : public QEvent {
public:
    MessageEvent(unsigned message, quintptr first, qintptr second);

    // The event type, registered with Qt on first use.
    static QEvent::Type EventType();

    unsigned Message() const { return m_message; }
    quintptr First() const { return m_first; }
    qintptr Second() const { return m_second; }

    // What the receiver's handler returned; 0 until it has run.
    qintptr Result() const { return m_result; }
    void SetResult(qintptr result) { m_result = result; }

private:
    unsigned m_message;
    quintptr m_first;
    qintptr m_second;
    qintptr m_result = 0;
};

// Queues the notification; the receiver handles it after the current handler has returned,
// in the order posted. Dropped if the receiver is destroyed first. `to` may be null (no-op).
void PostMessage(QObject* to, unsigned message, quintptr first = 0, qintptr second = 0);

// Delivers the notification at once, inside the caller, and returns the handler's result
// (0 when `to` is null or does not handle notifications).
qintptr SendMessage(QObject* to, unsigned message, quintptr first = 0, qintptr second = 0);

// Makes a QObject class a receiver of notifications: derive from MessageReceiver<QWidget>
// (or any QObject class) instead of the class itself and override OnMessage. Classes that
// need Q_OBJECT put it in the derived class as usual.
template <typename Base>
class MessageReceiver : public Base {
public:
    using Base::Base;

protected:
    // Handles one notification; the result goes back to SendMessage's caller.
    virtual qintptr OnMessage(unsigned message, quintptr first, qintptr second) = 0;

    void customEvent(QEvent* event) override {
        if (event->type() != MessageEvent::EventType()) {
            Base::customEvent(event);
            return;
        }
        auto* notification = static_cast<MessageEvent*>(event);
        notification->SetResult(
            OnMessage(notification->Message(), notification->First(), notification->Second()));
    }
};
