#pragma once

#include <cstdint>
#include <vector>

#include "core/solver/SlidingBoard.h"

// A shortest solution of a solvable board: the cells the empty cell enters, in order. IDA* on
// Manhattan distance plus linear conflicts; meant for boards of up to 16 cells, where it
// takes milliseconds (3 x 4) to seconds (the hardest 4 x 4).
std::vector<int> ShortestPath(const SlidingBoard& board);

// The same, also counting the positions the search looked at (for the benchmarks).
std::vector<int> ShortestPath(const SlidingBoard& board, std::uint64_t& positionsSeen);
