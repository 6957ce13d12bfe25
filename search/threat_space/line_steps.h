// Walking a line of the board from a square: the squares within four steps
// of it along one of its four lines, the reach of a row of five through it.
#pragma once

#include <array>

#include "board/square_flags.h"

namespace vorek {

// The step of each line in columns and rows: rows, columns, diagonals
// (towards the lower right), antidiagonals (towards the upper right).
inline constexpr std::array<std::array<int, 2>, 4> LINE_DIRECTIONS{{{1, 0}, {0, 1}, {1, 1}, {1, -1}}};
// The steps on each side of a square that a row of five through it reaches.
inline constexpr int LINE_REACH = 4;

// Calls visit(square) for the squares on the line through `from` within
// LINE_REACH steps, one side and then the other, nearest first; a side ends
// at the edge of the board or where visit returns false.
template <typename Visit>
constexpr void walkLine(int from, int line, Visit visit) {
    const auto [dx, dy] = LINE_DIRECTIONS[line];
    for (const int sign : {-1, 1}) {
        for (int k = 1; k <= LINE_REACH; ++k) {
            const int x = columnOf(from) + sign * k * dx;
            const int y = rowOf(from) + sign * k * dy;
            if (!onBoard(x, y) || !visit(squareAt(x, y))) break;
        }
    }
}

}  // namespace vorek
