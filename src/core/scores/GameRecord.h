#pragma once

#include <string>

#include "core/board/GameCounts.h"
#include "core/board/GridSize.h"
#include "core/scores/ScoreTable.h"

// The score row of a finished game: its size's index (-1 when the size is none of the six
// stores as 0xFFFFFFFF, which no ranking ever selects), its picture, the player's name exactly
// as typed, its counts and the date ("%d.%02d.%02d").
ScoreRecord GameRecord(const GameCounts& counts, const GridSize& size,
                       const std::string& pictureName, const std::string& userName,
                       const std::string& createdOn);
