#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <vector>

#include "core/solver/SlidingBoard.h"

// A solution of a solvable board by beam search: from each number of moves to the next, only
// the width positions closest to home by Manhattan distance plus linear conflicts go on, none
// seen before. Nothing when the deadline passes first, the beam dies out, or no solution
// shorter than limit moves was found.
std::optional<std::vector<int>> BeamPath(const SlidingBoard& board, std::size_t width,
                                         std::size_t limit,
                                         std::chrono::steady_clock::time_point deadline);
