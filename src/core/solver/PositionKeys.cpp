#include "core/solver/PositionKeys.h"

#include <random>

const PositionKeys& PositionKeys::Get() {
    static const PositionKeys keys;
    return keys;
}

PositionKeys::PositionKeys() {
    std::mt19937_64 random(0x5eed);
    for (auto& cell : m_words)
        for (std::uint64_t& word : cell) word = random();
}

std::uint64_t PositionKeys::Of(const SlidingBoard& board) const {
    std::uint64_t key = 0;
    for (int cell = 0; cell < board.Cells(); ++cell) key ^= m_words[cell][board.home[cell]];
    return key;
}
