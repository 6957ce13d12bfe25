// The move numbers of a position's stones: which number each stone's move
// had, for the picture to write on it.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "threats/threat.h"

namespace vorek {

// Per square, the number to write on its stone; 0 writes none.
using MoveNumbers = std::array<std::uint16_t, BOARD_SQUARES>;

// Numbers above this are not written: they would not fit on a stone.
constexpr int LARGEST_SHOWN_NUMBER = 9999;

// Numbers the squares of the moves in order, the first with firstNumber; a
// number outside 1..LARGEST_SHOWN_NUMBER is not written. A square off the
// board is rejected with std::out_of_range.
void numberStones(MoveNumbers& numbers, std::span<const int> squares, int firstNumber);

}  // namespace vorek
