// Reaching into a board's parts, for tests that need boards play never makes:
// broken ones the checks must catch, positions judged square by square, and
// lists set up item by item.
#pragma once

#include <memory>

#include "board/evaluation.h"
#include "board/v2board.h"

namespace vorek {

struct BoardSurgery {
    // The stones on their squares and in the line words, nothing judged yet:
    // every empty square live and both lists empty.
    static std::unique_ptr<V2Board> unjudged(const Stones& stones, Player toMove) {
        auto board = std::make_unique<V2Board>();
        for (int s = 0; s < BOARD_SQUARES; ++s) {
            if (const std::optional<Player> owner = stones.at(s)) {
                board->setFlags(s, stoneFlags(*owner));
                placeInLines(board->lines_, s, stoneCell(*owner));
            }
        }
        board->stoneCount_ = static_cast<std::int16_t>(stones.count());
        board->sideToMove_ = toMove;
        return board;
    }

    static SquareBytes& squares(V2Board& board) { return board.squares_; }
    static ThreatList& threats(V2Board& board, Player player) { return board.threats_[playerIndex(player)]; }
    static LineWords& lines(V2Board& board) { return board.lines_; }
    static void setSideToMove(V2Board& board, Player player) { board.sideToMove_ = player; }
    static void setStoneCount(V2Board& board, int count) { board.stoneCount_ = static_cast<std::int16_t>(count); }

    // The board's own steps of judging.
    static bool evaluateSquare(V2Board& board, int square) { return board.evaluateSquare(square); }
    static bool evaluateAll(V2Board& board) { return board.evaluateAll(); }
    static void insertThreat(V2Board& board, Player player, Threat t) { board.insertThreat(player, t); }
};

}  // namespace vorek
