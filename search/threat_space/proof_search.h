// Depth-first proof-number search (df-pn) for a win by threats of the side
// to move, over the rules of search/threat_space/threat_rules.h.
//
// The search keeps in memory only the path it is on and the children of its
// nodes; everything else it learns goes to the transposition table, whose
// size is fixed. A node is searched until its numbers reach the thresholds
// its parent gives it, so the search goes deep where the numbers are small
// and comes back up when a sibling looks more promising. Positions never
// repeat (stones are only added), so the graph has no cycles; positions
// reached in different orders are one entry of the table.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "search/threat_space/fours_search.h"
#include "search/proof_numbers.h"
#include "search/search_control.h"
#include "search/threat_space/threat_board.h"
#include "search/threat_space/threat_moves.h"
#include "search/threat_space/threat_rules.h"
#include "search/threat_space/transposition_table.h"

namespace vorek {

class ProofSearch {
public:
    // A search on the board, which it changes while it runs and leaves as it
    // found it; the table and the control may be shared with other searches.
    ProofSearch(ThreatBoard& board, TranspositionTable& table, SearchControl& control, const ThreatReach& reach = {});

    // Whether the side to move wins by threats of the kind, making five with
    // at most `depth` moves of his own (UNLIMITED_DEPTH: any number). Proved
    // or disproved, or open when the budget ran out.
    ProofNumbers prove(ThreatKind kind, int depth = UNLIMITED_DEPTH);
    // The same, giving up (open) once the control has counted nodeLimit nodes.
    ProofNumbers prove(ThreatKind kind, int depth, std::uint64_t nodeLimit);

    // After a proof of the same kind and depth: the winning line from the
    // position, the attacker's moves and the defender's toughest answers,
    // down to the five. Where the table has lost part of the proof, the
    // position is proved again, on a budget of its own: the line may end
    // short of the five only when that runs out.
    std::vector<int> winningLine(ThreatKind kind, int depth = UNLIMITED_DEPTH);

    // After a proof of the same kind and depth: the squares the proof stands
    // on, read from the table as the winning line is: the attacker's moves
    // and the defender's answers all through it, the lines of fours the
    // answers were chosen against, the winning moves at its leaves and their
    // five squares. nullopt when the table has lost part of the proof or it
    // is too large to walk.
    std::optional<SquareSet> proofSquares(ThreatKind kind, int depth = UNLIMITED_DEPTH);

    // Whether the numbers of the position the search starts from go to the
    // control's progress as the search goes (they do at first).
    void showNumbers(bool shown) { showsNumbers_ = shown; }

    // The rules of a search of threats at the position on the board, with
    // the searches of fours they take counted by the control in use.
    ThreatMoves rules() { return ThreatMoves(board_, table_, *control_, reach_); }

    // The table's key of the position on the board in a search of the kind
    // by the attacker.
    std::uint64_t keyOf(ThreatKind kind, Player attacker) const;

private:
    struct Child {
        std::int16_t move;
        std::uint8_t hint;  // what the move is, for its first numbers
        ProofNumbers numbers;
    };

    // With `wider`, the node is the attacker's position restricted to his
    // threats that only a search of fours finds: a child of its own, kept
    // apart so that those searches are made only when the search gets there.
    ProofNumbers search(ThreatKind kind, Player attacker, ProofNumbers threshold, int depth, bool wider = false);
    // Tries a win by fours first at a node of a search of threats.
    bool provedByFours(std::uint64_t key, int depth);
    ProofNumbers known(std::uint64_t key, int depth) const;
    // Adds the squares of the proof of the position on the board to
    // `squares`; false when part of it is missing or `visits` run out.
    bool collectProof(ThreatKind kind, Player attacker, int depth, SquareSet& squares, std::uint64_t& visits);

    ThreatBoard& board_;
    TranspositionTable& table_;
    SearchControl* control_;
    ThreatReach reach_;
    ThreatReach lineReach_;  // the reach of the last proof
    std::vector<Child> children_;  // the children of the nodes on the path, each node's together
    // How often each square was the defender's answer that refuted a threat.
    std::array<std::uint32_t, BOARD_SQUARES> refutations_{};
    std::uint64_t nodeLimit_ = UINT64_MAX;  // where a search of fours tried first gives up
    bool showsNumbers_ = true;
};

}  // namespace vorek
