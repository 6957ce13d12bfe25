#include "search/threat_space/position_of_board.h"

namespace vorek {

ThreatBoard threatBoardOf(const V2Board& board) {
    ThreatBoard position;
    for (int s = 0; s < BOARD_SQUARES; ++s)
        if (!isEmptySquare(board.squares[s])) position.place(s, stoneOwner(board.squares[s]));
    position.setSideToMove(board.sideToMove ? 1 : 0);
    return position;
}

}  // namespace vorek
