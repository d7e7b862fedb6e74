#pragma once

#include <array>
#include <cstdint>

#include "core/solver/SlidingBoard.h"

// A position's key: one random word per tile and cell, xor-ed over the board, so that a slide
// changes it by two words. Made once, then shared; safe across threads.
class PositionKeys {
public:
    static const PositionKeys& Get();

    std::uint64_t Of(const SlidingBoard& board) const;
    // The change when the tile `home` slides from cell `from` into the empty cell `to`.
    std::uint64_t Slide(int home, int from, int to) const {
        return m_words[from][home] ^ m_words[to][home];
    }

private:
    PositionKeys();

    std::array<std::array<std::uint64_t, SlidingBoard::kMaxCells>, SlidingBoard::kMaxCells>
        m_words{};
};
