#pragma once

#include <cstdint>
#include <vector>

#include "core/scores/ScoreTable.h"
#include "support/ByteFiles.h"

// One row: Sea.jpg on 3 x 4 by "player", 57 moves, 83 seconds, 2005.12.06: 42 bytes.
inline const std::vector<std::uint8_t> kOneRowScores =
    Hex("01 00 00 00"                          // row count 1
        "00 00 00 00"                          // grid index 0
        "07  53 65 61 2E 6A 70 67"             // "Sea.jpg"
        "06  70 6C 61 79 65 72"                // "player"
        "39 00 00 00"                          // 57 steps
        "53 00 00 00"                          // 83 seconds
        "0A  32 30 30 35 2E 31 32 2E 30 36");  // "2005.12.06"

inline const ScoreRecord kOneRowRecord{0, "Sea.jpg", "player", 57, 83, "2005.12.06"};

// The row above, then Sea.jpg on 6 x 8 by "ann", 10 moves, 95 seconds, 2006.01.31.
// The second row starts at offset 42; the file is 77 bytes.
inline const std::vector<std::uint8_t> kTwoRowScores =
    Hex("02 00 00 00"  // row count 2
        "00 00 00 00  07 53 65 61 2E 6A 70 67  06 70 6C 61 79 65 72"
        "39 00 00 00  53 00 00 00  0A 32 30 30 35 2E 31 32 2E 30 36"
        "05 00 00 00"                          // grid index 5
        "07  53 65 61 2E 6A 70 67"             // "Sea.jpg"
        "03  61 6E 6E"                         // "ann"
        "0A 00 00 00"                          // 10 steps
        "5F 00 00 00"                          // 95 seconds
        "0A  32 30 30 36 2E 30 31 2E 33 31");  // "2006.01.31"
