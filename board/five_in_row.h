// A five on the board: five or more stones of one side in an unbroken row,
// which ends the game. Positions read from files or records, or set up by
// hand, may hold one; the engine's own moves stop at it.
#pragma once

#include <optional>
#include <vector>

#include "board/v2board.h"

namespace vorek {

struct FiveInRow {
    Player owner;
    std::vector<int> squares;  // the whole row, five or more, from one end to the other
};

// The first row of five or more stones of one side, taking the squares in
// index order and the lines through each as row, column, diagonal and
// antidiagonal; nullopt when the board holds none.
std::optional<FiveInRow> fiveInRow(const V2Board& board);

}  // namespace vorek
