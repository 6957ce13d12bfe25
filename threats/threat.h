// The 32-bit threat value: a pattern code and a place (square * 16 + direction mask).
//
// The words the engine judges threats by, each a table lookup by pattern code
// (threats/pattern_tables.h):
//   cn      how many more stones the player needs in the segment for five in a
//           row: 0 completes five now, 1 is a four (one stone from five).
//   tn      how many moves the player needs to win the line against any
//           defence: 0 is won already (five, an open four, a double four).
//   weight  how much the code is worth for the scored fill of the move
//           generator: larger for smaller tn and for fewer defences.
//   defences the empty squares of the segment on which the opponent's stone
//           makes tn larger: where the threat is answered.
#pragma once

#include <cassert>
#include <cstdint>

#include "threats/square.h"

namespace vorek {

// Direction masks of the four lines through a square, with their index steps.
constexpr int DIR_ROW = 8;           // step 1
constexpr int DIR_COLUMN = 4;        // step 20
constexpr int DIR_DIAGONAL = 2;      // step 21, towards the lower right
constexpr int DIR_ANTIDIAGONAL = 1;  // step 19, towards the lower left

// Reserved pattern codes of combined threats of one square.
constexpr int PATTERN_DOUBLE_THREAT = 0;  // two or more line threats, at most one four
constexpr int PATTERN_DOUBLE_FOUR = 1;    // two or more fours

struct Threat {
    std::int16_t pattern;
    std::int16_t place;

    friend constexpr bool operator==(const Threat&, const Threat&) = default;
};
static_assert(sizeof(Threat) == 4);

// A threat of the pattern code at the square, over the lines of the mask
// (a sum of DIR_ values).
constexpr Threat makeThreat(int code, int square, int directionMask) {
    assert(code >= 0 && code < 1024);
    assert(isSquare(square));
    assert(directionMask > 0 && directionMask < 16);
    return Threat{static_cast<std::int16_t>(code),
                  static_cast<std::int16_t>(square * 16 + directionMask)};
}

constexpr int square(Threat t) { return t.place >> 4; }
constexpr int directions(Threat t) { return t.place & 15; }

}  // namespace vorek
