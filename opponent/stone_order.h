// The order in which the stones of a position are sent to an engine after
// BOARD. Engines rebuild the game from it, so it should read like a game that
// reached the position: the sides alternate, and the last stone is the other
// side's, whose move it was.
#pragma once

#include <vector>

#include "board/v2board.h"

namespace vorek {

constexpr int OWN_STONE = 1;    // the field of a stone of the side to move
constexpr int OTHER_STONE = 2;  // the field of a stone of the other side

// The fields of own + other stones in the order to send them. The sides
// alternate wherever the counts allow, and the last is OTHER_STONE when there
// is one. A surplus of one side is spread over the whole order in runs as
// even as the counts allow, the longer runs first, so that no side comes
// three times in a row unless the counts leave no other way.
std::vector<int> stoneFieldOrder(int own, int other);

struct SentStone {
    int square;
    int field;  // OWN_STONE or OTHER_STONE
};

// The board's stones in the order of stoneFieldOrder, each side's stones by
// square index. The side to move is the board's sideToMove.
std::vector<SentStone> stonesToSend(const V2Board& board);

}  // namespace vorek
