#pragma once

#include <cstdint>

// The shuffle's linear congruential generator: fixed, so a seed replays a board.
class RandomGenerator {
public:
    void Seed(std::uint32_t seed) { m_state = seed; }
    // 0 to 32767.
    int Next() {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int>((m_state >> 16) & 0x7FFF);
    }

private:
    std::uint32_t m_state = 0;
};
