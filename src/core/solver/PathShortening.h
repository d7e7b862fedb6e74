#pragma once

#include <chrono>
#include <vector>

#include "core/solver/SlidingBoard.h"

// path (the cells the empty cell enters from start) with shortcuts taken until the deadline:
// from each position along it, a search of a few moves looks for any later position of the
// path reached in fewer moves than the path takes; deeper searches each pass while time is
// left. Never longer than path, and it ends where path ends.
std::vector<int> Shortened(const SlidingBoard& start, std::vector<int> path,
                           std::chrono::steady_clock::time_point deadline);
