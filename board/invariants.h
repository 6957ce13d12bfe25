// Consistency checks of a board, for tests and fuzzing.
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

// Both boards hold the same squares, side to move, stone count and lists.
bool samePosition(const V2Board& a, const V2Board& b);

}  // namespace vorek
