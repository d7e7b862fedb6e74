#include "core/board/GameCounts.h"

#include <algorithm>
#include <cstdint>

void GameCounts::Start() {
    Reset();
    m_clockRuns = true;
}

void GameCounts::Reset() {
    m_steps = 0;
    m_seconds = 0;
    m_clockRuns = false;
}

// 64-bit sum: a large step count must stop at the limit, not wrap.
void GameCounts::AddSteps(int tiles) {
    m_steps = static_cast<int>(std::clamp<std::int64_t>(std::int64_t{m_steps} + tiles, 0, kLimit));
}

void GameCounts::Tick() {
    if (m_clockRuns) m_seconds = std::min(m_seconds + 1, kLimit);
}
