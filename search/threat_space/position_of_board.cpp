#include "search/threat_space/position_of_board.h"

namespace vorek {

ThreatBoard threatBoardOf(const V2Board& board) {
    ThreatBoard position;
    for (int s = 0; s < BOARD_SQUARES; ++s)
        if (!board.isEmpty(s)) position.place(s, board.stoneAt(s));
    position.setSideToMove(board.sideToMove());
    return position;
}

ThreatBoard threatBoardForMover(const V2Board& board) {
    const Player mover = board.sideToMove();
    ThreatBoard position;
    for (int s = 0; s < BOARD_SQUARES; ++s)
        if (!board.isEmpty(s)) position.place(s, board.stoneAt(s) == mover ? PLAYER1 : PLAYER0);
    position.setSideToMove(PLAYER1);
    return position;
}

}  // namespace vorek
