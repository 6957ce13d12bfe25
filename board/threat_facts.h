// Exact facts about the moves of one player, read line by line from the
// pattern codes rather than from the lists' one-item summaries of a square:
// where he completes five, where his move leaves him two squares to complete
// five at (which wins unless the opponent completes five first), and where it
// leaves him one. A proof built on these facts alone is a real forced win
// under the rules of the game (five or more in a row wins, nothing is
// forbidden).
//
// Every square with such a move for a player has an item in that player's
// list on a board whose lists are whole, so the lists say where to look and
// the codes say what is there.
#pragma once

#include <array>
#include <cassert>
#include <cstdint>

#include "board/evaluation.h"
#include "board/v2board.h"

namespace vorek {

// What one player's stone on a square makes, from the square's codes.
struct MoveFacts {
    bool five = false;        // five or more in a row at once
    bool twoFives = false;    // afterwards two or more squares complete five (not five itself)
    bool four = false;        // afterwards at least one square completes five (not five itself)
    bool nearWin = false;     // some line is one more stone from won: a four, or a three to open
};

MoveFacts moveFacts(const SquareCodes& scanned, Player player);

// A short list of squares in the order they were found.
struct SquareList {
    std::array<std::int16_t, BOARD_SQUARES> squares;
    int count = 0;

    const std::int16_t* begin() const { return squares.data(); }
    const std::int16_t* end() const { return squares.data() + count; }
    bool empty() const { return count == 0; }
    bool contains(int square) const;
    void add(int square) {
        assert(isSquare(square) && count < BOARD_SQUARES);
        squares[count++] = static_cast<std::int16_t>(square);
    }
};

// One player's moves of each kind, each square once, in the order of the
// player's list (most urgent first).
struct PlayerMoves {
    SquareList fives;     // completes five
    SquareList twoFives;  // leaves two five squares
    SquareList fours;     // leaves a five square (twoFives included)
    SquareList threats;   // fours and open threes to make an open four of: every nearWin move
};

// The moves of the player on a board whose lists are whole.
PlayerMoves playerMoves(const V2Board& board, Player player);

// The squares on which the other player's stone leaves the player no move
// that makes two five squares: the answers to all of twoFives at once.
// Empty squares only, in index order.
SquareList answersToTwoFives(const V2Board& board, Player player, const SquareList& twoFives);

}  // namespace vorek
