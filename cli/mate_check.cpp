#include "cli/mate_check.h"

#include <cmath>
#include <iomanip>
#include <sstream>

#include "board/square_text.h"
#include "cli/progress_line.h"
#include "cli/solve_options.h"

namespace vorek::cli {

namespace {

std::string progressText(const Evaluation& claim, const SolveProgress& progress) {
    const double rate = progress.seconds > 0 ? static_cast<double>(progress.nodes) / progress.seconds : 0;
    std::ostringstream text;
    text << "checking the claim " << evaluationText(claim) << " by threats: " << progress.nodes << " nodes, "
         << std::llround(rate) << " nodes/s, " << std::fixed << std::setprecision(1) << progress.seconds << " s";
    return text.str();
}

}  // namespace

std::string lineText(const std::vector<int>& line) {
    std::string text;
    for (const int square : line) {
        if (!text.empty()) text += ' ';
        text += squareText(columnOf(square), rowOf(square));
    }
    return text;
}

MateClaimCheck checkMateClaim(const V2Board& position, const Evaluation& claim, const SolveBudget& budget) {
    MateClaimSearch search(position, claim, budget);
    return runShowingProgress([&search] { return search.run(); },
                              [&search] { return progressText(search.claim(), search.progress()); });
}

std::string_view notProvedReason(const MateClaimCheck& check) {
    return check.verdict == ClaimVerdict::Refuted ? "refuted" : stopWord(check.stopped);
}

std::string mateCheckText(const MateClaimCheck& check) {
    switch (check.verdict) {
        case ClaimVerdict::Proved:
            return "proved by threats in " + std::to_string(check.plies) + " (line " + lineText(check.line) + ")";
        case ClaimVerdict::Refuted: {
            const std::string what = check.claim.value >= 0
                                          ? "every move of the side to move loses to a win by threats"
                                          : "the side to move wins by threats";
            return "not proved (refuted: " + what + ", line " + lineText(check.line) + ")";
        }
        case ClaimVerdict::Open: break;
    }
    if (check.stopped == SolveStop::Settled) return "not proved (exhausted)";
    return "not proved (stopped: " + std::string(stopWord(check.stopped)) + ")";
}

}  // namespace vorek::cli
