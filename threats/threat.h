// The 32-bit threat value: a pattern code and a place (square * 16 + direction mask).
#pragma once

#include <cstdint>

namespace vorek {

// Direction masks of the four lines through a square, with their index steps.
constexpr int DIR_ROW = 8;           // step 1
constexpr int DIR_COLUMN = 4;        // step 20
constexpr int DIR_DIAGONAL = 2;      // step 21, towards the lower right
constexpr int DIR_ANTIDIAGONAL = 1;  // step 19, towards the lower left

// Reserved pattern codes of combined threats of one square.
constexpr int PATTERN_DOUBLE_THREAT = 0;  // two or more line threats, at most one four
constexpr int PATTERN_DOUBLE_FOUR = 1;    // two or more fours

constexpr int BOARD_SIDE = 20;
constexpr int BOARD_SQUARES = BOARD_SIDE * BOARD_SIDE;

struct Threat {
    std::int16_t pattern;
    std::int16_t place;

    friend constexpr bool operator==(const Threat&, const Threat&) = default;
};
static_assert(sizeof(Threat) == 4);

constexpr Threat makeThreat(int code, int square, int directionMask) {
    return Threat{static_cast<std::int16_t>(code),
                  static_cast<std::int16_t>(square * 16 + directionMask)};
}

constexpr int square(Threat t) { return t.place >> 4; }
constexpr int directions(Threat t) { return t.place & 15; }

}  // namespace vorek
