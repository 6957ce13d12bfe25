// The transposition table's key of a position in a threat search: the
// stones, the side to move, the attacker and the kind of search, so that
// the searches of both attackers and both kinds share one table.
#pragma once

#include <cstdint>

#include "search/threat_space/threat_board.h"
#include "search/threat_space/threat_rules.h"
#include "search/threat_space/transposition_table.h"
#include "search/threat_space/zobrist.h"

namespace vorek {

inline std::uint64_t searchKey(const ThreatBoard& board, ThreatKind kind, Player attacker) {
    std::uint64_t key = board.key();
    if (board.sideToMove() == PLAYER1) key ^= PLAYER1_TO_MOVE_KEY;
    if (attacker == PLAYER1) key ^= PLAYER1_ATTACKS_KEY;
    if (kind == ThreatKind::Fours) key ^= FOURS_ONLY_KEY;
    return key;
}

// The key after the side to move plays the move, from the key before.
inline std::uint64_t keyAfter(std::uint64_t key, Player mover, int move) {
    return key ^ stoneKey(mover, move) ^ PLAYER1_TO_MOVE_KEY;
}

// A table entry holds for a search with `depth` attacker moves left: a proof
// found with as many moves left or fewer, a disproof found with as many or
// more, open numbers only for the same.
inline bool holdsFor(const TableHit& entry, int depth) {
    if (entry.numbers.proved()) return entry.depth <= depth;
    if (entry.numbers.disproved()) return entry.depth >= depth;
    return entry.depth == depth;
}

inline int depthAfter(int depth, bool attackerMoved) {
    return attackerMoved && depth != UNLIMITED_DEPTH ? depth - 1 : depth;
}

}  // namespace vorek
