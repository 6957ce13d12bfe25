// Consistency checks of a board: what must hold between operations. Asserted
// after every move in builds with asserts on; the fuzz targets and the tests
// call them too.
#pragma once

#include <string>

#include "board/v2board.h"

namespace vorek {

// What a board between operations must satisfy: each list in rank order, items
// only on empty squares, at most two items of a square in one list (two exactly
// while that player's second-item flag is set, the second a double-threat
// item), the in-list flag set wherever a square has an item, no candidate mark,
// bit 0x80 clear, stoneCount equal to the stones on the board, and the line
// words holding the stones of the squares. Returns a description of the first
// violation, or an empty string.
std::string checkInvariants(const V2Board& board);

// The same for a board on which the square was just played, looking at what
// the move touched: the square holds the mover's stone in its flags and its
// line words and no item of either list, and each list is in rank order with
// items on empty squares only. On every FULL_CHECK_EVERY-th stone it checks
// everything, as checkInvariants does.
std::string checkAfterMove(const V2Board& board, int square);
constexpr int FULL_CHECK_EVERY = 16;

// Both boards hold the same squares, side to move, stone count and lists.
bool samePosition(const V2Board& a, const V2Board& b);

}  // namespace vorek
