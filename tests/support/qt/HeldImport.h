#pragma once

#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <functional>
#include <string>

#include "core/library/PictureConversion.h"
#include "library/ResFrame.h"

namespace test {

// Holds each file of the panel's imports as a decode that lasts: until letGo() answers true it
// asks the import's keepGoing every 10 ms, as the wait for the decoder does, and a false answer
// (Cancel) refuses the file as Cancelled; then it is converted as the game converts it. What a
// test does meanwhile happens while the file decodes, however fast the machine. A file held
// longer than kLongestHoldMs fails the test and is refused as Cancelled: an import that no longer
// lets the window's events run, or a letGo that never comes, ends the test well before ctest's
// limit.
inline constexpr int kLongestHoldMs = 30000;

inline ImportedPicture CancelledImport() {
    ImportedPicture cancelled;
    cancelled.refusal = ImportRefusal::Cancelled;
    return cancelled;
}

inline void HoldImports(ResFrame& panel, std::function<bool()> letGo) {
    panel.UseConverter([letGo = std::move(letGo)](std::function<bool()> keepGoing) {
        return [letGo, keepGoing = std::move(keepGoing)](const std::string& path) {
            QElapsedTimer held;
            held.start();
            for (;;) {
                // keepGoing is asked after letGo, so Cancel pressed by letGo is seen.
                const bool go = letGo();
                if (!keepGoing()) return CancelledImport();
                if (go) return CancellableConverter(keepGoing)(path);
                if (held.elapsed() > kLongestHoldMs) {
                    QTest::qFail("a held import was never let go", __FILE__, __LINE__);
                    return CancelledImport();
                }
                QThread::msleep(10);
            }
        };
    });
}

}  // namespace test
