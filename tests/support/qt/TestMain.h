#pragma once

// Mains for the QTest programs that show windows. The offscreen platform the tests run on
// warns of each thing it cannot do ("This plugin does not support setting window masks",
// raise(), propagateSizeHints(), grabbing the keyboard), which on a desktop works; those
// notices are left out of the output, so that a warning that matters stands out. Every other
// message reaches QTest as usual: a test that expects one catches it with QTest::ignoreMessage.

#include <QApplication>
#include <QTest>

namespace test {

inline QtMessageHandler g_testLogHandler = nullptr;

inline void LeaveOutPlatformNotices(QtMsgType type, const QMessageLogContext& context,
                                    const QString& message) {
    if (type == QtWarningMsg && message.startsWith("This plugin does not support ")) return;
    g_testLogHandler(type, context, message);
}

// QTest::qExec, with the notices left out of what QTest logs.
inline int RunTests(QObject* tests, int argc, char** argv) {
    QTest::qInit(tests, argc, argv);
    g_testLogHandler = qInstallMessageHandler(LeaveOutPlatformNotices);
    const int failures = QTest::qRun();
    qInstallMessageHandler(g_testLogHandler);
    QTest::qCleanup();
    return failures;
}

}  // namespace test

// QTEST_MAIN for a test class that shows windows.
#define CORVALIN_QT_TEST_MAIN(TestClass)           \
    int main(int argc, char** argv) {              \
        QApplication app(argc, argv);              \
        app.setAttribute(Qt::AA_Use96Dpi, true);   \
        TestClass tests;                           \
        return test::RunTests(&tests, argc, argv); \
    }
