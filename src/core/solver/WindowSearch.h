#pragma once

#include <chrono>
#include <vector>

#include "core/solver/SlidingBoard.h"

// path (the cells the empty cell enters from start) with windows of it made shorter until the
// deadline: for two positions some moves apart along it, a search for a shorter way between
// them, guided by how far each tile stands from where the later position has it; longer
// windows while time is left. Never longer than path, and it ends where path ends.
std::vector<int> WindowsShortened(const SlidingBoard& start, std::vector<int> path,
                                  std::chrono::steady_clock::time_point deadline);
