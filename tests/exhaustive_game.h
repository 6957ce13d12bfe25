// The value of a position found by trying every move, for boards with few
// empty squares: an independent check of the solver's verdicts that knows
// nothing but the rules (five or more in a row wins).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vorek::testing {

// A board as characters: 'x', 'o' or '.', row by row.
using Cells = std::array<char, 400>;

enum class Outcome { LOSS, DRAW, WIN };

class ExhaustiveGame {
public:
    explicit ExhaustiveGame(const Cells& cells);
    // The outcome for the side to move with best play by both sides. Every
    // position reachable is met once at most; the empty squares must be few
    // (up to about fourteen).
    Outcome valueFor(char toMove);

    // Whether the attacker, to move, can make five with at most `moves` of
    // his own moves whatever the other side plays: every move of both sides
    // is tried, but for the defender's moves that leave the attacker a five
    // at once (a five square of his, or a move that leaves him two while the
    // defender has none), which lose. Works on any board; the cost grows with
    // the empty squares to the power of the moves.
    bool winsWithin(char attacker, int moves);

    // Whether the stone on the square is part of five or more in a row.
    static bool fiveThrough(const Cells& cells, int square);

private:
    Outcome value(char toMove, std::uint32_t key);
    bool attackerWins(char attacker, int moves);
    bool defenderLoses(char attacker, int moves);
    int fiveSquareCount(char stone, int atMost);
    bool hasDoubleFive(char stone);

    Cells cells_;
    std::vector<int> empties_;
    std::unordered_map<std::uint32_t, Outcome> known_;  // by what the empty squares hold, in base 3
    std::unordered_map<std::string, bool> wins_;        // attackerWins by the cells and moves left
};

// Twenty rows of twenty characters.
Cells cellsFromRows(const std::vector<std::string_view>& rows);

}  // namespace vorek::testing
