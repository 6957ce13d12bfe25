#include "search/threat_space/position_of_board.h"

namespace vorek {

namespace {

// The board's stones with the mover's coloured as the given player and the
// other side's as the other, that player to move.
ThreatBoard threatBoardWith(const V2Board& board, Player moverAs) {
    const Player mover = board.sideToMove();
    ThreatBoard position;
    for (int s = 0; s < BOARD_SQUARES; ++s)
        if (!board.isEmpty(s)) position.place(s, board.stoneAt(s) == mover ? moverAs : opponent(moverAs));
    position.setSideToMove(moverAs);
    return position;
}

}  // namespace

ThreatBoard threatBoardOf(const V2Board& board) { return threatBoardWith(board, board.sideToMove()); }

ThreatBoard threatBoardForMover(const V2Board& board) { return threatBoardWith(board, PLAYER1); }

}  // namespace vorek
