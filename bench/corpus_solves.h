// The solves that make the corpus: whether the side to move wins by threats
// of a kind within a number of his moves, and the fewest moves he needs.
#pragma once

#include "search/threat_space/threat_board.h"
#include "search/threat_space/threat_moves.h"
#include "search/threat_space/threat_rules.h"

namespace vorek::bench {

// Nodes a solve of the corpus maker may take.
constexpr std::uint64_t PUZZLE_NODES = 200'000;

enum class Found {
    Win,      // the side to move wins so, proved
    NoWin,    // the searches ended without such a win
    Unclear,  // the budget ran out first
};

// Whether the side to move wins by threats of the kind, making five with at
// most depth moves of his own, his threats threatening wins by fours of at
// most threatDepth moves; with a move, the first move of the win found.
Found winWithin(const ThreatBoard& board, ThreatKind kind, int depth, int* move = nullptr,
                int threatDepth = ThreatReach{}.threatDepth);

// The fewest moves of the side to move to his five by a win of the kind, or
// 0 when no win is found.
int shortestWin(const ThreatBoard& board, ThreatKind kind);

// Whether the position is a puzzle of the kind: a win of that kind, and for
// a win by threats, none by fours.
bool isPuzzle(const ThreatBoard& board, ThreatKind kind);

// The threats that threaten the shortest wins by fours: threes, and moves
// that leave a move making two five squares.
constexpr int SHORTEST_THREATS = 2;

// Whether the position is a win by threats that needs a wider threat: none
// by fours, none with the shortest threats alone, and its first move found
// neither a four, a three nor a move that leaves two fours meeting on a
// square.
bool isWidePuzzle(const ThreatBoard& board);

// The position of the stones of the board but the squares given, with the
// same side to move.
ThreatBoard without(const ThreatBoard& board, int first, int second);

}  // namespace vorek::bench
