// Depth-first search for a win by fours (VCF). Every four leaves the other
// side one reply, so the tree is nearly a tree of the attacker's choices
// alone: a plain depth-first search, most promising four first, with the
// positions it has refuted (and proved) kept in the transposition table,
// settles it with far less bookkeeping than proof numbers need. Its entries
// read as those of the df-pn search (proofs with the attacker's moves they
// need, refutations with the moves they were searched with), so the searches
// and the winning line share them. Refutations are kept only where the
// attacker is to move: a position after a four is seldom reached but through
// the same four from the same position, whose entry answers first, and
// leaving them out halves the table's traffic.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "search/proof_numbers.h"
#include "search/search_control.h"
#include "search/threat_space/threat_board.h"
#include "search/threat_space/transposition_table.h"

namespace vorek {

class FoursSearch {
public:
    // A search on the board, which it changes while it runs and leaves as it
    // found it.
    FoursSearch(ThreatBoard& board, TranspositionTable& table, SearchControl& control);

    // Whether the attacker wins by fours making five with at most `depth`
    // moves of his own, from the position on the board (the attacker or the
    // defender to move). Proved or disproved; open ({1, 1}) when the control
    // stopped or counted nodeLimit nodes first.
    ProofNumbers prove(Player attacker, int depth, std::uint64_t nodeLimit = UINT64_MAX);
    // After a proof: the move that proves the position (the attacker's
    // winning four, or the defender's toughest reply), whatever the table
    // has kept; -1 when the last search proved nothing.
    int provingMove() const { return best_; }
    // After a proof: the attacker's moves to his five on the win found.
    int provedMoves() const { return moves_; }

    // The line of a win by fours of the attacker, to move, within `depth`
    // moves of his: his fours (and his forced blocks, fours too) and the
    // defender's blocks, down to his five or to his move that leaves two
    // five squares while the defender has none, which ends it. Read from the
    // table where a proof left it, proved again (within nodeLimit nodes each
    // time) where the table lost it; empty when there is no such win or the
    // limit ran out first.
    std::vector<int> winningLine(Player attacker, int depth, std::uint64_t nodeLimit);

private:
    enum class Outcome : std::uint8_t { Win, NoWin, Stopped };
    struct Found {
        Outcome outcome;
        int moves = 0;     // when a win: the attacker's moves to his five, at most
        bool cut = false;  // when no win: a limit on the moves cut the search
    };

    Found attack(std::uint64_t key, int depth);
    Found defend(std::uint64_t key, int depth);
    // What the table says of the position at the key for `depth` moves left.
    std::optional<Found> known(std::uint64_t key, int depth) const;
    Found proved(std::uint64_t key, int best, int moves, std::uint64_t startNodes);
    Found refuted(std::uint64_t key, int depth, bool cut, std::uint64_t startNodes);
    bool counted();

    ThreatBoard& board_;
    TranspositionTable& table_;
    SearchControl& control_;
    std::uint64_t nodeLimit_ = UINT64_MAX;
    std::uint64_t rootKey_ = 0;
    int best_ = -1;
    int moves_ = 0;
};

}  // namespace vorek
