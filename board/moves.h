// Playing a stone: in place, or on a fresh copy of the board.
#pragma once

#include <memory>

#include "board/v2board.h"

namespace vorek {

// Puts a stone of the side to move on an empty square, passes the move and
// re-judges the squares around it. True when the side now to move can complete
// five at once; the board's lists then stop where the re-judging stopped.
bool makeMove(V2Board& board, int square);

// The win flag makeMove would return for the side to move playing the empty
// square, without playing it. A stone never helps the other player, so on a
// board whose lists are whole (every board but one whose evaluation stopped
// at a five) the other side can then complete five only where it can already:
// unless the other side's list holds such a square the answer is false at
// once; otherwise the move is made on a copy.
bool moveLeavesFive(const V2Board& board, int square);

struct ChildBoard {
    std::unique_ptr<V2Board> board;
    bool win;  // the result of makeMove on the copy
};

// A copy of the board with the move made on it; the source is not changed.
ChildBoard childAfterMove(const V2Board& board, int square);

}  // namespace vorek
