// Harder puzzles from won positions, made as puzzle composers make them:
// longer, by taking back a threat of the winner and an answer of the other
// side; and with more that fails, by adding a stone of each side that gives
// the winner threats that lead nowhere and the other side fours to answer
// with. The win stays of its kind (a win by threats keeps having none by
// fours) and gets no shorter.
#pragma once

#include <optional>
#include <random>

#include "search/threat_space/threat_board.h"
#include "search/threat_space/threat_rules.h"

namespace vorek::bench {

struct Puzzle {
    ThreatBoard board;  // the winner to move
    int length;         // his moves to his five on the shortest win found
};

// The puzzle one threat longer: a stone of the winner that makes a threat
// of the kind (a four; in a win by threats, a four or a three) taken back
// with a stone of the other side that answers it, where the shortest win
// becomes one move longer; nullopt when no pair of stones does.
std::optional<Puzzle> longerByOneThreat(const Puzzle& puzzle, ThreatKind kind, std::mt19937& random);

// The puzzle with one stone more of each side near the stones, the winner's
// giving him threats of the kind and the other side's giving him fours, the
// win no shorter; nullopt when no pair tried does.
std::optional<Puzzle> withDecoys(const Puzzle& puzzle, ThreatKind kind, std::mt19937& random);

// How many threats of the kind the winner has, and fours the other side has.
int threatsOnBoard(const ThreatBoard& board, ThreatKind kind);

}  // namespace vorek::bench
