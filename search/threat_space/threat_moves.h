// The moves of a search of threats at a node: the rules read from the
// position (search/threat_space/threat_rules.h), with what takes a search of
// fours to tell, each such search given a free move of the other side (a
// pass):
//
// - the attacker's threats: his fours, and every move near his stones
//   (squaresOnOwnLines) after which, were the defender to pass, he would win
//   by fours with at most `threatDepth` moves of his own;
// - the defender's answers to a threat that is no four: the squares that
//   could spoil the line of fours it threatens (lineSpoilers), and his own
//   fours; every other answer leaves that line winning, so it loses;
// - the attacker's moves where the defender would win by fours were the
//   attacker to pass: his fours, and of his other threats only those on the
//   squares that could spoil the defender's line, since after any other the
//   defender wins along it.
//
// Those searches share the table (their entries are those of any search of
// fours of the same position) and the budget, and each stops at testNodes
// nodes: a move whose test runs out is not taken for a threat.
#pragma once

#include <cstdint>
#include <vector>

#include "search/search_control.h"
#include "search/threat_space/threat_board.h"
#include "search/threat_space/threat_rules.h"
#include "search/threat_space/transposition_table.h"

namespace vorek {

// How far a search of threats looks for what a move threatens.
struct ThreatReach {
    // A threat threatens a win by fours in at most this many moves of the
    // attacker, his five included: 2 finds the threes and the moves that
    // leave two fours meeting on a square, 3 adds the moves that leave a
    // four-three, and so on.
    int threatDepth = 6;
    // The nodes the search of fours of one move may take.
    std::uint64_t testNodes = 2000;
    // The nodes the search of the defender's win by fours, were the attacker
    // to pass, may take at one of the attacker's nodes: a short look, since
    // most such searches find nothing and the search meets his fours anyway.
    std::uint64_t narrowingNodes = 30;
};

class ThreatMoves {
public:
    // Moves on the board (which it changes and puts back), the searches of
    // fours counted by the control and kept in the table.
    ThreatMoves(ThreatBoard& board, TranspositionTable& table, SearchControl& control, const ThreatReach& reach);

    // The attacker is to move, with at most `depth` moves of his own left.
    // As attackerNode, with the threats that need no search of fours (threes,
    // moves that leave two fours meeting on a square) added after the fours.
    // Open with no moves when only wider threats are left to look at.
    NodeVerdict attacker(ThreatKind kind, int depth, MoveList& moves);
    // Whether, after attacker() left the node open, the attacker may have
    // threats that only a search of fours finds.
    bool widens(ThreatKind kind, int depth) const;
    // Those threats: the attacker's other moves near his stones that threaten
    // a win by fours, shortest win threatened first.
    void widerThreats(int depth, MoveList& moves);
    // The defender is to move, the attacker having `depth` moves left. As
    // defenderNode, with the answers to a threat of fours.
    NodeVerdict defender(ThreatKind kind, int depth, MoveList& moves);

    // The moves of the attacker to his five, at most, that the threat on the
    // square threatens, his threat played now; 0 when it threatens no win by
    // fours within `depth` such moves (or its test ran out).
    int threatens(int move, int depth);

    // The line of fours of the side not to move, were the side to move to
    // pass, within `depth` moves of his; empty when there is none (or the
    // search ran out).
    std::vector<int> lineAfterPass(int depth);

private:
    // The same, each search of it stopping at nodeLimit nodes.
    std::vector<int> lineAfterPass(int depth, std::uint64_t nodeLimit);
    // The squares the attacker's threats that are no fours may take: where
    // the defender would win by fours were the attacker to pass, those that
    // could spoil the defender's line; otherwise every empty square.
    SquareSet allowedThreats();

    ThreatReach reach_;
    ThreatBoard& board_;
    TranspositionTable& table_;
    SearchControl& control_;
};

}  // namespace vorek
