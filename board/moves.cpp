#include "board/moves.h"

#include <cassert>

#include "board/evaluation.h"
#include "board/invariants.h"
#include "threats/pattern_tables.h"

namespace vorek {

bool V2Board::play(int square) {
    assert(isSquare(square));
    assert(isEmpty(square));
    const Player mover = sideToMove_;
    setFlags(square, flags(square) & static_cast<std::uint8_t>(~(SQ_EMPTY | SQ_SIDE)));
    for (const Player player : {PLAYER1, PLAYER0})
        if (flags(square) & inListFlag(player)) removeSquareThreats(player, square);
    setFlags(square, flags(square) | stoneFlags(mover));
    placeInLines(lines_, square, stoneCell(mover));
    sideToMove_ = opponent(mover);
    ++stoneCount_;
    const bool win = reevaluateAround(square);
    listsWhole_ = listsWhole_ && !win;
    assert(checkAfterMove(*this, square).empty());
    return win;
}

ChildBoard V2Board::played(int square) const {
    ChildBoard child{clone(), false};
    child.win = child.board->play(square);
    return child;
}

bool moveLeavesFive(const V2Board& board, int square) {
    assert(board.isEmpty(square));
    const ThreatList& other = board.threats(opponent(board.sideToMove()));
    if (other.empty() || cn(other.front()) != 0) return false;
    return board.played(square).win;
}

}  // namespace vorek
