// The verdict on a position by threat-space search, for the side to move:
//
// - proved: he wins by threats (by fours alone in a search of fours); the
//   move and the whole line are those of such a win;
// - disproved: every move of his loses to a win by threats of the other side;
// - unknown: neither, with the reason: the budget, or the searches ended
//   (exhausted) without a win by threats for him and with a move of his after
//   which the other side has none.
//
// Only moves that could hold are searched for the disproof: the block of a
// five square of the other side; else, when the other side has a move that
// leaves two five squares, the moves that spoil every such move and the side
// to move's own fours; else every empty square.
#pragma once

#include <memory>

#include "search/solve_job.h"
#include "search/solve_report.h"
#include "search/threat_space/proof_search.h"
#include "search/threat_space/threat_board.h"
#include "search/threat_space/transposition_table.h"

namespace vorek {

struct ThreatSolveOptions {
    ThreatKind kind = ThreatKind::Threats;
    int depth = UNLIMITED_DEPTH;  // the attacker's moves to his five, at most
};

// What the solve found beyond the report.
struct ThreatFindings {
    // The other side wins by threats should the side to move pass.
    bool threatened = false;
    // A move of the side to move after which the other side has no win by
    // threats, when one was found; -1 otherwise.
    int holdingMove = -1;
};

// The memory a transposition table may take under the budget: what is left
// of the budget's memory (half the machine's when it gives none) beside
// what the process holds, and no more than the node budget can fill.
std::size_t tableBytesFor(const SolveBudget& budget);

class ThreatSolver final : public SolveJob {
public:
    // A solve of the position within the budget, with a table of its own or
    // the one given (kept from earlier solves, whose entries it forgets).
    ThreatSolver(const ThreatBoard& position, const SolveBudget& budget, const ThreatSolveOptions& options = {},
                 TranspositionTable* table = nullptr);
    ~ThreatSolver() override;

    // Solves; once. The report is player 1's, as the tree solver's: proved
    // when player 1 wins. Where player 0 is to move, there is no proving move
    // and the numbers are swapped.
    SolveReport run() override;
    const ThreatFindings& findings() const { return findings_; }

private:
    struct Verdict;
    Verdict verdictForMover();
    Verdict disproofForMover();
    // The side to move loses at once, to two five squares of the other side
    // or to a move that leaves him two: the line of a natural try.
    Verdict lostAtOnce();
    // The moves of the side to move that must each be shown lost, most
    // likely holding first.
    std::vector<int> movesToRefute(const std::vector<int>& threatLine);
    // The attacker's most promising moves and the defender's answers, by the
    // table, while the search is undecided.
    std::vector<int> mainLine(ThreatKind kind);
    // Whether the side to move's win found is by fours alone.
    bool provedByFours();

    ThreatBoard board_;
    ThreatSolveOptions options_;
    std::unique_ptr<TranspositionTable> ownTable_;
    TranspositionTable& table_;
    ProofSearch search_;
    ThreatFindings findings_;
};

// Runs a whole solve at once.
SolveReport solveByThreats(const ThreatBoard& position, const SolveBudget& budget,
                           const ThreatSolveOptions& options = {}, ThreatFindings* findings = nullptr);

}  // namespace vorek
