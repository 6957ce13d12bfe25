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
    // How far a threat's win by fours may reach (ThreatReach::threatDepth).
    int threatDepth = ThreatReach{}.threatDepth;
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
    // What the other side has against moves of the side to move: PROVED when
    // he wins by threats after each (`move` the toughest, and `fours` the
    // fours of the side to move that came after it with their blocks, in
    // order), DISPROVED when `move` leaves him none, open when the budget
    // ran out at `move`.
    struct Refutation {
        Refutation(ProofNumbers numbers, int move, std::vector<int> fours = {})
            : numbers(numbers), move(move), fours(std::move(fours)) {}
        ProofNumbers numbers;
        int move;
        std::vector<int> fours;
    };
    // Searches stop once the control has counted `limit` nodes.
    Refutation refuteEach(const std::vector<int>& moves, int depth, int fours, std::uint64_t limit);
    // The other side's answer to the move, within `depth` moves of his own;
    // `fours`: the fours of the side to move answered on the way here.
    // When it is a four and loses: its block and what came after, in `after`.
    ProofNumbers answerTo(int move, int depth, int fours, std::uint64_t limit, std::vector<int>& after);
    // After a four of the side that just moved: the other side's block, the
    // only move that does not lose at once; -1 when it is no four, or after
    // enough fours.
    int forcedBlock(int fours) const;
    // Whether every move of the side to move loses (as refuteEach).
    Refutation everyMoveLoses(int depth, int fours, std::uint64_t limit);
    // The other side's moves left after the blocks among the fours.
    int depthAfterFours(const std::vector<int>& fours) const;
    // The moves of the side to move that must each be shown lost, most
    // likely holding first: where the other side would win by fours should
    // he pass, those that could spoil that line (foursLine); otherwise any.
    std::vector<int> movesToRefute(const std::vector<int>& threatLine, const std::vector<int>& foursLine, int depth);
    // The attacker's most promising moves and the defender's answers, by the
    // table, while the search is undecided.
    std::vector<int> mainLine(ThreatKind kind);
    // Whether the side to move's win found is by fours alone.
    bool provedByFours();
    // The other side's line of fours within `depth` moves of his, were the
    // side to move to pass.
    std::vector<int> lineOfFoursAfterPass(int depth);

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
