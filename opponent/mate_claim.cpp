#include "opponent/mate_claim.h"

#include "search/threat_space/position_of_board.h"
#include "search/threat_space/threat_solver.h"

namespace vorek {

MateClaimCheck judgeMateClaim(const Evaluation& claim, const SolveReport& report) {
    // The report is player 1's, the side to move: proved when he wins.
    const bool forMover = claim.value >= 0;
    MateClaimCheck check{.claim = claim, .verdict = ClaimVerdict::Open, .plies = 0, .stopped = report.stopped,
                         .line = {}};
    if (report.result == SolveResult::Unknown) return check;
    check.verdict = (report.result == SolveResult::Proved) == forMover ? ClaimVerdict::Proved : ClaimVerdict::Refuted;
    check.line = report.line;
    // The winner's moves; against the mover, his own move comes first.
    if (check.verdict == ClaimVerdict::Proved) check.plies = 2 * report.winnerMoves - (forMover ? 1 : 0);
    return check;
}

// The search is the side to move's, so that its report is his whatever the
// board calls him.
MateClaimSearch::MateClaimSearch(const V2Board& position, const Evaluation& claim, const SolveBudget& budget)
    : claim_(claim), solver_(std::make_unique<ThreatSolver>(threatBoardForMover(position), budget)) {}

MateClaimSearch::~MateClaimSearch() = default;

MateClaimCheck MateClaimSearch::run() { return judgeMateClaim(claim_, solver_->run()); }

SolveProgress MateClaimSearch::progress() const { return solver_->progress(); }

}  // namespace vorek
