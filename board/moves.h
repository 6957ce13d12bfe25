// Playing a stone: V2Board::play in place and V2Board::played on a copy, and
// whether a move leaves the other side a five.
#pragma once

#include "board/v2board.h"

namespace vorek {

// The win flag play would return for the side to move playing the empty
// square, without playing it. A stone never helps the other player, so on a
// board whose lists are whole the other side can then complete five only
// where it can already: unless the other side's list holds such a square the
// answer is false at once; otherwise the move is played on a copy.
bool moveLeavesFive(const V2Board& board, int square);

}  // namespace vorek
