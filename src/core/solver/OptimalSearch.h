#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/solver/SlidingBoard.h"

// A shortest solution of a solvable board: the cells the empty cell enters, in order. IDA* on
// the pattern tables where the size has them (3 x 4, 4 x 4), else Manhattan distance plus
// linear conflicts; meant for boards of up to 16 cells, where it takes milliseconds (3 x 4) to
// a few seconds (the hardest 4 x 4).
std::vector<int> ShortestPath(const SlidingBoard& board);

// The same, or nothing when the deadline passes first.
std::optional<std::vector<int>> ShortestPathBefore(const SlidingBoard& board,
                                                   std::chrono::steady_clock::time_point deadline);
