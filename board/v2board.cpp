#include "board/v2board.h"

#include "threats/slot_pool.h"

namespace vorek {

V2Board::V2Board()
    : sideToMove_(PLAYER1), listsWhole_(true), stoneCount_(0), lines_(EMPTY_LINES) {
    squares_.fill(EMPTY_LIVE_SQUARE);
}

std::unique_ptr<V2Board> V2Board::fromStones(const Stones& stones, Player toMove) {
    auto board = std::make_unique<V2Board>();
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        const std::optional<Player> owner = stones.at(s);
        if (!owner) continue;
        board->setFlags(s, stoneFlags(*owner));
        placeInLines(board->lines_, s, stoneCell(*owner));
    }
    board->stoneCount_ = static_cast<std::int16_t>(stones.count());
    board->sideToMove_ = toMove;
    board->listsWhole_ = !board->evaluateAll();
    return board;
}

// Only the lists are made before the copy; everything else is copied once.
V2Board::V2Board(const V2Board& source, CopyOf) { copyFrom(source); }

std::unique_ptr<V2Board> V2Board::clone() const { return std::unique_ptr<V2Board>(new V2Board(*this, CopyOf{})); }

void V2Board::copyFrom(const V2Board& source) {
    squares_ = source.squares_;
    sideToMove_ = source.sideToMove_;
    listsWhole_ = source.listsWhole_;
    stoneCount_ = source.stoneCount_;
    lines_ = source.lines_;
    threats_[0] = source.threats_[0];
    threats_[1] = source.threats_[1];
}

Stones V2Board::stones() const {
    Stones stones;
    for (int s = 0; s < BOARD_SQUARES; ++s)
        if (!isEmpty(s)) stones.put(s, stoneAt(s));
    return stones;
}

using BoardPool = SlotPool<sizeof(V2Board), alignof(V2Board)>;

void* V2Board::operator new(std::size_t) { return BoardPool::take(); }

void V2Board::operator delete(void* board) noexcept { BoardPool::give(board); }

void V2Board::insertThreat(Player player, Threat t) {
    vorek::insertThreat(threats_[playerIndex(player)], squares_, player, t);
}

void V2Board::removeSquareThreats(Player player, int square) {
    vorek::removeSquareThreats(threats_[playerIndex(player)], squares_, player, square);
}

}  // namespace vorek
