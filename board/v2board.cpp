#include "board/v2board.h"

#include "threats/slot_pool.h"

namespace vorek {

V2Board::V2Board() { setEmptyBoard(*this); }

// Only the lists are made before the copy; everything else is copied once.
V2Board::V2Board(const V2Board* source) { copyFrom(*source); }

std::unique_ptr<V2Board> V2Board::clone() const { return std::make_unique<V2Board>(this); }

void V2Board::copyFrom(const V2Board& source) {
    squares = source.squares;
    sideToMove = source.sideToMove;
    stoneCount = source.stoneCount;
    lines = source.lines;
    threats[0] = source.threats[0];
    threats[1] = source.threats[1];
}

using BoardPool = SlotPool<sizeof(V2Board), alignof(V2Board)>;

void* V2Board::operator new(std::size_t) { return BoardPool::take(); }

void V2Board::operator delete(void* board) noexcept { BoardPool::give(board); }

void setEmptyBoard(V2Board& board) {
    board.squares.fill(EMPTY_LIVE_SQUARE);
    board.sideToMove = 1;
    board.stoneCount = 0;
    board.lines = EMPTY_LINES;
}

void syncLines(V2Board& board) {
    board.lines = EMPTY_LINES;
    for (int s = 0; s < BOARD_SQUARES; ++s)
        if (!isEmptySquare(board.squares[s])) placeInLines(board.lines, s, cellOfFlags(board.squares[s]));
}

void insertThreat(V2Board& board, int player, Threat t) {
    insertThreat(board.threats[player], board.squares, player, t);
}

void removeSquareThreats(V2Board& board, int player, int square) {
    removeSquareThreats(board.threats[player], board.squares, player, square);
}

}  // namespace vorek
