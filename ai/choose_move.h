// The move vorek-ai plays in a position.
#pragma once

#include <optional>

#include "board/v2board.h"

namespace vorek {

// For a board freshly read (not yet evaluated): the first empty square, in
// index order, where the side to move completes five, if there is one;
// otherwise the move generator's first listed square (the winning move, the
// forced block or the best candidate). Should the generator list no empty
// square, the empty square nearest the centre. Nullopt when no square is empty.
std::optional<int> chooseMove(V2Board& board);

}  // namespace vorek
