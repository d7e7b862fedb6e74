#include "core/scores/GameRecord.h"

#include <cstdint>

ScoreRecord GameRecord(const GameCounts& counts, const GridSize& size,
                       const std::string& pictureName, const std::string& userName,
                       const std::string& createdOn) {
    ScoreRecord record;
    record.gridIndex = static_cast<std::uint32_t>(GridIndexOf(size));
    record.pictureName = pictureName;
    record.userName = userName;
    record.steps = static_cast<std::uint32_t>(counts.Steps());
    record.seconds = static_cast<std::uint32_t>(counts.Seconds());
    record.createdOn = createdOn;
    return record;
}
