// Both players' pattern codes of one line through a square, read from the
// four cells on each side of it: the square scan's table.
//
// A cell is 2 bits (empty, player 1's stone, player 0's stone, or a wall off
// the board). Each half-line's four cells are turned into each player's part
// of the code by table lookup; a wall ends a walk just as an opponent stone
// does. The code is the one the pattern tables know (threats/pattern_tables.h),
// with the square itself counted as the player's stone.
#pragma once

#include <array>
#include <cstdint>

#include "threats/player.h"

namespace vorek {

// Cell values.
constexpr unsigned CELL_EMPTY = 0;
constexpr unsigned CELL_PLAYER1 = 1;
constexpr unsigned CELL_PLAYER0 = 2;
constexpr unsigned CELL_WALL = 3;

// The cell of a player's stone: 1 for player 1, 2 for player 0.
constexpr unsigned cellOfPlayer(Player player) { return player == PLAYER1 ? CELL_PLAYER1 : CELL_PLAYER0; }

// Index: the four cells before the square, nearest in the highest bits, then
// the four after it, nearest in the lowest bits. Entry: player 0's code in the
// low 16 bits, player 1's in the high 16 bits.
using LineCodes = std::array<std::uint32_t, 1 << 16>;

// The table, built at compile time once, in line_codes.cpp: building it takes
// a couple of seconds of the compiler's constant evaluation, too much to spend
// in every file that includes this one. One load a line; most scans touch
// only a small part of the table.
extern const LineCodes LINE_CODES;

}  // namespace vorek
