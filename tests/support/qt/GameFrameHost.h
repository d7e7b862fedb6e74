#pragma once

#include <QWidget>

#include "core/layout/SkinLayout.h"
#include "game/GameFrame.h"
#include "skin/EdgeRect.h"

namespace test {

// The game panel inside a shown window, as the main window holds it: size changes then reach
// it at once.
struct GameFrameHost {
    QWidget window;
    GameFrame* frame;
    GameFrameHost() : frame(new GameFrame(&window, ToQRect(layout::kContentRect))) {
        window.resize(634, 373);
        window.show();
    }
};

}  // namespace test
