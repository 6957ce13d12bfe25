// An engine's claim of a forced five ("mate") judged by our own threat-space
// search of the position, player 1 (the engine) to move. A claim for the side
// to move (+Mn) holds when the search proves that he wins by threats; a claim
// against him (-Mn) when the search shows that every move of his loses to a
// win by threats of the other side (that the other side would win should he
// pass is part of that search, and not enough alone). The search's verdict of
// the other kind refutes the claim.
#pragma once

#include <memory>
#include <vector>

#include "board/v2board.h"
#include "opponent/engine_line.h"
#include "search/solver.h"

namespace vorek {

enum class ClaimVerdict {
    Proved,   // the search shows the claim
    Refuted,  // the search shows the opposite
    Open,     // neither: the search ended without (exhausted), or its budget ran out
};

struct MateClaimCheck {
    Evaluation claim;
    ClaimVerdict verdict = ClaimVerdict::Open;
    // Proved: the plies of the line found, both sides' moves and the five.
    int plies = 0;
    // Open: the budget that ran out, or Settled when the search ended.
    SolveStop stopped = SolveStop::Settled;
    // Proved or Refuted: the line found, the winner's moves and the loser's
    // toughest answers; empty when open.
    std::vector<int> line;
};

// The budget of a claim's check where the user sets none: five seconds.
inline constexpr SolveBudget MATE_CHECK_BUDGET{.maxNodes = 0, .maxSeconds = 5};

// The verdict on the claim from the report of the threat search
// (ThreatSolver) of the position the engine was asked about.
MateClaimCheck judgeMateClaim(const Evaluation& claim, const SolveReport& report);

class ThreatSolver;

// The threat search that judges a claim about a position, whichever side
// the board has to move: run() searches on the thread that calls it, while
// any other thread may read its progress or set the budget's cancel flag.
class MateClaimSearch {
public:
    MateClaimSearch(const V2Board& position, const Evaluation& claim, const SolveBudget& budget);
    ~MateClaimSearch();
    MateClaimSearch(const MateClaimSearch&) = delete;
    MateClaimSearch& operator=(const MateClaimSearch&) = delete;

    // Searches and judges the claim; once.
    MateClaimCheck run();
    SolveProgress progress() const;
    const Evaluation& claim() const { return claim_; }

private:
    Evaluation claim_;
    std::unique_ptr<ThreatSolver> solver_;
};

}  // namespace vorek
