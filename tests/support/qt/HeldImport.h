#pragma once

#include <QThread>
#include <functional>
#include <string>

#include "core/library/PictureConversion.h"
#include "library/ResFrame.h"

namespace test {

// Holds each file of the panel's imports as a decode that lasts: until letGo() answers true it
// asks the import's keepGoing every 10 ms, as the wait for the decoder does, and a false answer
// (Cancel) refuses the file as Cancelled; then it is converted as the game converts it. What a
// test does meanwhile happens while the file decodes, however fast the machine.
inline void HoldImports(ResFrame& panel, std::function<bool()> letGo) {
    panel.UseConverter([letGo = std::move(letGo)](std::function<bool()> keepGoing) {
        return [letGo, keepGoing = std::move(keepGoing)](const std::string& path) {
            for (;;) {
                // keepGoing is asked after letGo, so Cancel pressed by letGo is seen.
                const bool go = letGo();
                if (!keepGoing()) {
                    ImportedPicture cancelled;
                    cancelled.refusal = ImportRefusal::Cancelled;
                    return cancelled;
                }
                if (go) return CancellableConverter(keepGoing)(path);
                QThread::msleep(10);
            }
        };
    });
}

}  // namespace test
