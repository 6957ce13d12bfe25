#include "board/moves.h"

#include "board/evaluation.h"
#include "threats/pattern_tables.h"

namespace vorek {

bool makeMove(V2Board& board, int square) {
    board.squares[square] &= static_cast<std::uint8_t>(~(SQ_EMPTY | SQ_SIDE));
    for (int player = 1; player >= 0; --player)
        if (board.squares[square] & inListFlag(player)) removeSquareThreats(board, player, square);
    if (board.sideToMove == 1) board.squares[square] |= SQ_SIDE;
    placeInLines(board.lines, square, board.sideToMove == 1 ? CELL_PLAYER1 : CELL_PLAYER0);
    board.sideToMove = board.sideToMove == 0 ? 1 : 0;
    ++board.stoneCount;
    return reevaluateAround(board, square);
}

bool moveLeavesFive(const V2Board& board, int square) {
    const ThreatList& other = board.threats[board.sideToMove ? 0 : 1];
    if (other.empty() || cn(other.front()) != 0) return false;
    return childAfterMove(board, square).win;
}

ChildBoard childAfterMove(const V2Board& board, int square) {
    ChildBoard child{board.clone(), false};
    child.win = makeMove(*child.board, square);
    return child;
}

}  // namespace vorek
