#include "search/threat_space/position_of_board.h"

namespace vorek {

ThreatBoard threatBoardOf(const V2Board& board) {
    ThreatBoard position;
    for (int s = 0; s < BOARD_SQUARES; ++s)
        if (!board.isEmpty(s)) position.place(s, board.stoneAt(s));
    position.setSideToMove(board.sideToMove());
    return position;
}

}  // namespace vorek
