#include <QTest>
#include <QWidget>
#include <memory>

#include "platform/Messages.h"

namespace {

// Logs every notification it handles as "message:first:second" and answers with first + 1.
// A handler for UM_PLAYPICTURE sends UM_TILESMOVED to itself, as a nested call.
class Recorder : public MessageReceiver<QWidget> {
    Q_OBJECT

public:
    QStringList log;

protected:
    qintptr OnMessage(unsigned message, quintptr first, qintptr second) override {
        log << QStringLiteral("%1:%2:%3").arg(message, 0, 16).arg(first).arg(second);
        if (message == UM_PLAYPICTURE) {
            SendMessage(this, UM_TILESMOVED, 9, 0);
            log << QStringLiteral("end of 467");
        }
        return static_cast<qintptr>(first) + 1;
    }
};

// A receiver that is a plain QObject rather than a widget.
class PlainRecorder : public MessageReceiver<QObject> {
public:
    int handled = 0;

protected:
    qintptr OnMessage(unsigned, quintptr, qintptr second) override {
        ++handled;
        return second;
    }
};

}  // namespace

class MessagesTest : public QObject {
    Q_OBJECT

private slots:
    void SentNotificationIsHandledAtOnceAndReturnsTheResult() {
        Recorder recorder;
        QCOMPARE(SendMessage(&recorder, UM_TILESMOVED, 4, 0), qintptr(5));
        QCOMPARE(recorder.log, QStringList{"469:4:0"});
    }

    void PostedNotificationWaitsForTheEventLoop() {
        Recorder recorder;
        PostMessage(&recorder, UM_BUTTONCLICK, 6, 0);
        QVERIFY(recorder.log.isEmpty());
        QCoreApplication::sendPostedEvents(&recorder);
        QCOMPARE(recorder.log, QStringList{"464:6:0"});
    }

    void PostedNotificationsArriveInOrderAfterSentOnes() {
        Recorder recorder;
        PostMessage(&recorder, UM_LISTSELCHANGE, 1, 0);
        PostMessage(&recorder, UM_PUZZLESOLVED, 0, 0);
        SendMessage(&recorder, UM_TILESMOVED, 3, 0);
        PostMessage(&recorder, UM_COMBOSELCHANGE, 2, 0);
        QTRY_COMPARE(recorder.log.size(), 4);
        QCOMPARE(recorder.log, (QStringList{"469:3:0", "465:1:0", "46a:0:0", "468:2:0"}));
    }

    void SendingFromInsideAHandlerNestsInIt() {
        Recorder recorder;
        PostMessage(&recorder, UM_PLAYPICTURE, 0, 0);
        QCoreApplication::sendPostedEvents(&recorder);
        QCOMPARE(recorder.log, (QStringList{"467:0:0", "469:9:0", "end of 467"}));
    }

    void BothParametersTravelWhole() {
        Recorder recorder;
        const quintptr first = ~quintptr{0};
        PostMessage(&recorder, UM_LISTDBLCLK, first, -7);
        QCoreApplication::sendPostedEvents(&recorder);
        QCOMPARE(recorder.log, QStringList{QStringLiteral("466:%1:-7").arg(first)});
    }

    void AnyQObjectCanReceive() {
        PlainRecorder recorder;
        QCOMPARE(SendMessage(&recorder, UM_BUTTONCLICK, 0, 42), qintptr(42));
        PostMessage(&recorder, UM_BUTTONCLICK, 0, 0);
        QCoreApplication::sendPostedEvents(&recorder);
        QCOMPARE(recorder.handled, 2);
    }

    void ObjectsThatAreNoReceiversIgnoreNotifications() {
        QObject plain;
        QCOMPARE(SendMessage(&plain, UM_BUTTONCLICK, 1, 0), qintptr(0));
        PostMessage(&plain, UM_BUTTONCLICK, 1, 0);
        QCoreApplication::sendPostedEvents(&plain);
    }

    void NoReceiverIsANoOp() {
        QCOMPARE(SendMessage(nullptr, UM_BUTTONCLICK, 1, 0), qintptr(0));
        PostMessage(nullptr, UM_BUTTONCLICK, 1, 0);
    }

    void PendingNotificationsDieWithTheirReceiver() {
        auto recorder = std::make_unique<Recorder>();
        QPointer<Recorder> watch = recorder.get();
        PostMessage(recorder.get(), UM_BUTTONCLICK, 1, 0);
        recorder.reset();
        QCoreApplication::sendPostedEvents();
        QVERIFY(watch.isNull());
    }

    void OtherCustomEventsStillReachTheBaseClass() {
        Recorder recorder;
        QEvent other(static_cast<QEvent::Type>(QEvent::registerEventType()));
        QCoreApplication::sendEvent(&recorder, &other);
        QVERIFY(recorder.log.isEmpty());
    }
};

QTEST_MAIN(MessagesTest)
#include "MessagesTest.moc"
