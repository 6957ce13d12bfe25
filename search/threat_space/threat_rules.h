// The rules of a win by threats that can be read from the position alone,
// so that every verdict built on them is a fact of the game (20 x 20, five or
// more in a row wins, nothing forbidden). What needs a search of fours to
// tell is in search/threat_space/threat_moves.h.
//
// The attacker wins by threats when he makes five, or leaves two squares that
// complete five while the defender has none, and every move on the way is a
// threat: a four (the defender must take its five square) or, in a search of
// threats, a move after which he would win by fours were the defender to
// pass (a three, which leaves him a move that makes two five squares, is the
// shortest), which the defender must spoil. The defender's moves are every
// move that does not lose at once: the blocks, and his own fours, which the
// attacker must answer in turn.
#pragma once

#include <array>
#include <cstdint>

#include "search/threat_space/threat_board.h"

namespace vorek {

enum class ThreatKind {
    Fours,    // the attacker's moves are fours only (a win by continuous fours, VCF)
    Threats,  // fours and moves that threaten a win by fours (a win by continuous threats, VCT)
};

// Squares in the order they are to be tried.
struct MoveList {
    std::array<std::int16_t, BOARD_SQUARES> squares;
    int count = 0;

    void add(int square) { squares[count++] = static_cast<std::int16_t>(square); }
    const std::int16_t* begin() const { return squares.data(); }
    const std::int16_t* end() const { return squares.data() + count; }
    bool empty() const { return count == 0; }
};

// What the rules say of a position, for the attacker.
struct NodeVerdict {
    enum Outcome : std::uint8_t { Open, Won, Lost } outcome = Open;
    // When won: the attacker's moves to his five (1: it completes five now,
    // 2: it leaves two five squares), and the first of them.
    int movesToFive = 0;
    int winningMove = -1;
};

// The attacker is the side to move. Open: the moves are the forced block of
// the defender's five square, or else the attacker's fours, best first (in
// a search of threats the other threats follow them; the list may be empty).
NodeVerdict attackerNode(const ThreatBoard& board, ThreatKind kind, MoveList& moves);

// The defender is the side to move. Open: the moves are every move that does
// not lose at once: the block of the attacker's five square; else, where the
// attacker has a move that leaves two five squares, the moves that spoil
// every such move and the defender's fours. Lost where the attacker has
// neither: in a search of fours his last move forced nothing, and in a search
// of threats what it threatens needs a search of fours to tell.
NodeVerdict defenderNode(const ThreatBoard& board, ThreatKind kind, MoveList& moves);

// The attacker's threats that are not fours or threes: moves on a line
// through a square where he has a four already, after which that square makes
// a second four.
SquareSet doubleFourSetups(const ThreatBoard& board, Player attacker);

// The empty squares that share a row of five with a stone of the player and
// with no stone of the other side: where a stone of his may take part in a
// four, now or later.
SquareSet squaresOnOwnLines(const ThreatBoard& board, Player player);

}  // namespace vorek
